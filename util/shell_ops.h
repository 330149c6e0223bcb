#pragma once
#include <functional>
#include <string>

namespace qorvid {

// The desktop's shell: documents, hidden runs and the file manager. Each call starts the
// work and returns at once; false when it could not be started.
class ShellOps {
public:
    virtual ~ShellOps() = default;
    // Opens a file or an address (http:, mailto:) with the desktop's default program.
    // onFailure runs later, on a thread of its own, when the desktop has no program for it.
    virtual bool openDocument(const std::string& pathOrUrl, std::function<void()> onFailure) = 0;
    // Runs a program file without a window, or opens any other file quietly.
    virtual bool runHidden(const std::string& path) = 0;
    // Shows the file selected in the file manager; where none answers, opens its folder.
    virtual bool showInFileManager(const std::string& path) = 0;
};

// xdg-open and the file manager's D-Bus call (org.freedesktop.FileManager1), never a shell.
ShellOps& systemShell();

// "file://" address of an absolute path, every byte outside [A-Za-z0-9-._~/] percent-encoded.
std::string fileUrl(const std::string& absolutePath);

} // namespace qorvid
