#include "app/paths.h"

#include "util/drive_type.h"
#include "util/file_object.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace qorvid {

AppPaths AppPaths::fromRunningProgram()
{
    char exe[4096];
    ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe);
    std::string program = n > 0 && static_cast<size_t>(n) < sizeof exe ? std::string(exe, static_cast<size_t>(n)) : "";
    std::string folder = fileObject().GetParentFolderName(program);
    if (folder.empty()) {
        char cwd[4096];
        folder = ::getcwd(cwd, sizeof cwd) ? cwd : ".";
    }
    return forFolder(folder);
}

AppPaths AppPaths::forFolder(const std::string& folder)
{
    AppPaths paths;
    paths.appFolder = ensureBackslash(folder);
    paths.tempFolder = ensureBackslash(fileObject().GetSpecialFolder(2));
    paths.windowsFolder = ensureBackslash(fileObject().GetSpecialFolder(0));
    return paths;
}

std::string AppPaths::toolPrefix() const { return appFolder + "plugins" + kSep + "ZevraRes"; }

std::string AppPaths::toolPath(int n) const
{
    std::string stem = toolPrefix() + std::to_string(n);
    return fileObject().FileExists(stem + ".dll") ? stem + ".dll" : stem + ".exe";
}

std::string AppPaths::settingsFolder() const
{
    // An installed program keeps its settings per user, even when root could write its folder.
    if (!appFolder.empty() && ::access(appFolder.c_str(), W_OK) == 0 &&
        ::access((appFolder + kInstalledMarker).c_str(), F_OK) != 0)
        return appFolder;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    std::string base = xdg && xdg[0] == '/' ? std::string(xdg) : homeFolder() + ".config";
    return ensureBackslash(base) + "Qorvid" + kSep;
}

std::string AppPaths::settingsFile() const { return settingsFolder() + "Qorvid.ini"; }

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home) return ensureBackslash(home);
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return ensureBackslash(pw->pw_dir);
    return std::string(1, kSep);
}

std::string folderToEnter(const std::string& path, const std::string& fallback,
                          const std::function<bool(const std::string&)>& usableDrive)
{
    if (path.empty()) return {};
    std::string folder = path.back() == kSep ? path : fileObject().GetParentFolderName(path);
    if (!fallback.empty() && path.find('*') == std::string::npos && !usableDrive(folder))
        folder = fallback;
    return folder;
}

std::string changeToFolderOf(const std::string& path, const std::string& fallback)
{
    std::string folder = folderToEnter(path, fallback, isUsableDrive);
    if (!folder.empty()) {
        int ignored = ::chdir(folder.c_str());
        (void)ignored;
    }
    return folder;
}

} // namespace qorvid
