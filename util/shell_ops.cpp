#include "util/shell_ops.h"

#include "util/subprocess.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace qorvid {
namespace {

// Starts argv[0] from PATH with no input and its output discarded. A detached thread reaps
// the child and runs onFailure when it ends with a non-zero status.
bool spawnDetached(const std::vector<std::string>& argv, std::function<void()> onFailure = {})
{
    auto child = std::make_unique<Subprocess>();
    Subprocess::Setup setup;
    setup.program = argv.at(0);
    setup.argv = argv;
    setup.input = Subprocess::Input::Null;
    setup.output = Subprocess::Output::Null;
    setup.errors = Subprocess::Errors::Null;
    setup.ownGroup = true;    // the program's Ctrl-C does not reach the viewer
    setup.endWithUs = false;  // the viewer stays open after we end
    if (!child->start(setup)) return false;
    std::thread([child = std::move(child), onFailure = std::move(onFailure)] {
        if (child->wait() != 0 && onFailure) onFailure();
    }).detach();
    return true;
}

// A path that begins with "-" would be read as an option.
std::string asArgument(const std::string& path)
{
    return !path.empty() && path[0] == '-' ? "./" + path : path;
}

std::string absolute(const std::string& path)
{
    if (!path.empty() && path[0] == '/') return path;
    char cwd[4096];
    if (!::getcwd(cwd, sizeof cwd)) return path;
    return std::string(cwd) + "/" + path;
}

class LinuxShell final : public ShellOps {
public:
    bool openDocument(const std::string& pathOrUrl, std::function<void()> onFailure) override
    {
        if (pathOrUrl.empty()) return false;
        // xdg-open ends with a non-zero status when no program takes the file.
        return spawnDetached({"xdg-open", asArgument(pathOrUrl)}, std::move(onFailure));
    }

    bool runHidden(const std::string& path) override
    {
        if (path.empty()) return false;
        struct stat st {};
        bool program = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                       ::access(path.c_str(), X_OK) == 0;
        if (program) return spawnDetached({absolute(path)});
        return spawnDetached({"xdg-open", asArgument(path)});
    }

    bool showInFileManager(const std::string& path) override
    {
        if (path.empty()) return false;
        const std::string full = absolute(path);
        const std::string folder = full.substr(0, full.find_last_of('/') + 1);
        auto openFolder = [folder] { spawnDetached({"xdg-open", folder}); };
        // --print-reply makes dbus-send fail when no file manager owns the name.
        bool started = spawnDetached({"dbus-send", "--session", "--print-reply",
                                      "--reply-timeout=5000",
                                      "--dest=org.freedesktop.FileManager1",
                                      "/org/freedesktop/FileManager1",
                                      "org.freedesktop.FileManager1.ShowItems",
                                      "array:string:" + fileUrl(full), "string:"},
                                     openFolder);
        if (!started) openFolder();
        return true;
    }
};

} // namespace

std::string fileUrl(const std::string& absolutePath)
{
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absolutePath) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

ShellOps& systemShell()
{
    static LinuxShell shell;
    return shell;
}

} // namespace qorvid
