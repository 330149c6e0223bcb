#pragma once
#include "util/text.h"
#include <functional>
#include <string>

namespace qorvid {

// The program-wide folders, each ending in the separator.
struct AppPaths {
    std::string appFolder;
    std::string tempFolder;
    std::string windowsFolder; // no counterpart on Linux: the fonts come from fontconfig

    // Folder of the running executable (from /proc/self/exe), the system's temporary folder.
    static AppPaths fromRunningProgram();
    static AppPaths forFolder(const std::string& appFolder);

    // appFolder + "plugins/" + "ZevraRes"
    std::string toolPrefix() const;
    // Tool n (1 player, 2 encoder, 3 converter): the ".dll" file when it exists, else ".exe".
    std::string toolPath(int n) const;
    std::string settingsFile() const; // where Qorvid.ini lives (see settings)
    // appFolder when it is writable (portable use) and not an installed program folder, else
    // $XDG_CONFIG_HOME/Qorvid/ (~/.config/Qorvid/). Plimbo.ini and other per-program files go here too.
    std::string settingsFolder() const;
};

// The file that installation puts into the program folder.
inline constexpr const char* kInstalledMarker = "qorvid.installed";

// The user's home folder with a trailing separator; stands in for "C:\" as the fallback folder.
std::string homeFolder();

// For a non-empty path: the path itself when it ends in the separator, else its parent folder;
// with a fallback, a path without "*" on an unusable drive gives the fallback instead. That
// folder becomes the current one (errors ignored) and is returned; "" for an empty path.
std::string changeToFolderOf(const std::string& path, const std::string& fallback = {});
// The folder changeToFolderOf enters, with the drive test given.
std::string folderToEnter(const std::string& path, const std::string& fallback,
                          const std::function<bool(const std::string&)>& usableDrive);

} // namespace qorvid
