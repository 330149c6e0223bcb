#include "common/unfinished_target.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace qorvid::tools {

std::string unfinishedTargetPath(const std::string& target)
{
    size_t slash = target.find_last_of('/');
    std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return dir + "." + name + ".part";
}

UnfinishedTarget::~UnfinishedTarget()
{
    if (fd_ >= 0) close(fd_);
    if (!published_ && !partPath_.empty()) unlink(partPath_.c_str());
}

bool UnfinishedTarget::open(const std::string& target)
{
    size_t slash = target.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    fd_ = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
    if (fd_ >= 0) {
        // FFmpeg reaches the unnamed file through our descriptor table.
        path_ = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(fd_);
        return true;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    partPath_ = unfinishedTargetPath(target);
    int fd = ::open(partPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        partPath_.clear();
        return false;
    }
    close(fd);
    path_ = partPath_;
    return true;
}

bool UnfinishedTarget::publish(const std::string& target)
{
    if (fd_ >= 0) {
        // An unnamed file cannot be renamed over another: give it a passing hidden name
        // first, then replace the target in one step, so that an earlier target stays
        // whole until the new one takes its place.
        std::string self = "/proc/self/fd/" + std::to_string(fd_);
        std::string passing = unfinishedTargetPath(target) + "." + std::to_string(getpid());
        unlink(passing.c_str());
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, passing.c_str(), AT_SYMLINK_FOLLOW) != 0) return false;
        if (std::rename(passing.c_str(), target.c_str()) != 0) {
            int err = errno;
            unlink(passing.c_str());
            errno = err;
            return false;
        }
        published_ = true;
        return true;
    }
    if (std::rename(partPath_.c_str(), target.c_str()) != 0) return false;
    published_ = true;
    return true;
}

} // namespace qorvid::tools
