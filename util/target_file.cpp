#include "util/target_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qorvid {

namespace {

std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string lockFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base = runtime && *runtime ? runtime : "/tmp";
    std::string dir = base + "/qorvid-targets-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    return dir;
}

} // namespace

FileIdentity identityOf(const std::string& path)
{
    FileIdentity id;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return id;
}

std::string folderProblem(const std::string& targetPath)
{
    const std::string folder = folderOf(targetPath);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return folder + ": " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return folder + ": " + std::strerror(ENOTDIR);
    struct statvfs vfs {};
    if (::statvfs(folder.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY))
        return folder + ": " + std::strerror(EROFS);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return folder + ": " + std::strerror(errno);
    return {};
}

std::string replaceProblem(const std::string& targetPath)
{
    struct stat st {};
    if (::lstat(targetPath.c_str(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return targetPath + ": " + std::strerror(EISDIR);
    // An immutable or append-only file refuses writing even to its owner.
    if (S_ISREG(st.st_mode) && ::access(targetPath.c_str(), W_OK) != 0 && errno == EPERM)
        return targetPath + ": " + std::strerror(EPERM);
    return folderProblem(targetPath);
}

TargetLock::~TargetLock() { unlock(); }

bool TargetLock::tryLock(const std::string& targetPath)
{
    unlock();
    std::error_code ec;
    std::string key = std::filesystem::weakly_canonical(targetPath, ec).string();
    if (ec) key = targetPath;
    const std::string name = lockFolder() + "/" + std::to_string(std::hash<std::string>{}(key)) + ".lock";
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true; // no place for marks: behave as before
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return !taken;
    }
    fd_ = fd;
    return true;
}

void TargetLock::unlock()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

} // namespace qorvid
