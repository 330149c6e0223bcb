#include "util/drive_type.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qorvid {
namespace {

// Magic numbers from linux/magic.h and the file systems' own headers.
constexpr unsigned long kIso9660 = 0x9660;
constexpr unsigned long kUdf = 0x15013346;

std::string existingAncestor(std::string path)
{
    struct stat st {};
    while (!path.empty()) {
        if (::stat(path.c_str(), &st) == 0) return path;
        size_t sep = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
        if (sep == std::string::npos) return ::stat(".", &st) == 0 ? "." : "";
        path = path.substr(0, sep == 0 ? 1 : sep);
    }
    return {};
}

} // namespace

bool isUsableFileSystem(unsigned long magic)
{
    // Only optical media cannot take a target; network mounts and RAM file systems can.
    return magic != kIso9660 && magic != kUdf;
}

bool isUsableDrive(const std::string& path)
{
    std::string where = existingAncestor(path);
    if (where.empty()) return false;
    struct statfs fs {};
    if (::statfs(where.c_str(), &fs) != 0) return false;
    if (!isUsableFileSystem(static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFUL)) return false;
    struct statvfs vfs {};
    if (::statvfs(where.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY)) return false;
    return ::access(where.c_str(), W_OK | X_OK) == 0;
}

} // namespace qorvid
