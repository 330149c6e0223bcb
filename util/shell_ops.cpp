#include "util/shell_ops.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qorvid {
namespace {

// Starts argv[0] from PATH with no input and its output discarded. A detached thread reaps
// the child and runs onFailure when it ends with a non-zero status.
bool spawnDetached(const std::vector<std::string>& argv, std::function<void()> onFailure = {})
{
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own process group, so that the program's Ctrl-C does not reach the viewer.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);

    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, args[0], &fa, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;

    std::thread([pid, onFailure = std::move(onFailure)] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (!ok && onFailure) onFailure();
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
