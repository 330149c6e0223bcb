#include "util/drive_type.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/statfs.h>
#include <sys/stat.h>

namespace qorvid {
namespace {

// Magic numbers from linux/magic.h and the file systems' own headers.
constexpr unsigned long kNfs = 0x6969;
constexpr unsigned long kSmb = 0x517B;
constexpr unsigned long kCifs = 0xFF534D42;
constexpr unsigned long kSmb2 = 0xFE534D42;
constexpr unsigned long kAfs = 0x5346414F;
constexpr unsigned long kKafs = 0x6B414653;
constexpr unsigned long kCoda = 0x73757245;
constexpr unsigned long kCeph = 0x00C36400;
constexpr unsigned long kNcp = 0x564C;
constexpr unsigned long kV9fs = 0x01021997;
constexpr unsigned long kIso9660 = 0x9660;
constexpr unsigned long kUdf = 0x15013346;
constexpr unsigned long kTmpfs = 0x01021994;
constexpr unsigned long kRamfs = 0x858458F6;
constexpr unsigned long kFuse = 0x65735546;

// FUSE file systems that reach over the network.
constexpr std::string_view kNetworkFuse[] = {
    "sshfs", "rclone", "s3fs", "gcsfuse", "goofys", "curlftpfs", "gvfsd-fuse", "davfs",
    "smbnetfs", "httpfs", "httpdirfs", "glusterfs", "ceph-fuse", "cifs", "nfs", "webdav",
};

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

// The mount table writes blanks and the like as octal escapes ("\\040").
std::string unescapeOctal(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3') {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The type name of the mount that holds the path ("fuse.sshfs"); "" when unknown.
std::string mountTypeOf(const std::string& path)
{
    char resolved[4096];
    if (!::realpath(path.c_str(), resolved)) return {};
    const std::string target = resolved;
    std::ifstream table("/proc/self/mountinfo");
    std::string line, best, bestType;
    while (std::getline(table, line)) {
        // id parent major:minor root mount-point options [optional...] - type source super-options
        std::istringstream fields(line);
        std::string id, parent, dev, root, mountPoint, word;
        fields >> id >> parent >> dev >> root >> mountPoint;
        mountPoint = unescapeOctal(mountPoint);
        while (fields >> word && word != "-") {}
        std::string type;
        fields >> type;
        bool under = target == mountPoint ||
                     (target.compare(0, mountPoint.size(), mountPoint) == 0 &&
                      (mountPoint == "/" || target[mountPoint.size()] == '/'));
        // Later lines win at the same depth: they are mounted on top.
        if (under && mountPoint.size() >= best.size()) {
            best = mountPoint;
            bestType = type;
        }
    }
    return bestType;
}

} // namespace

bool isUsableFileSystem(unsigned long magic, std::string_view fuseTypeName)
{
    switch (magic) {
    case kNfs: case kSmb: case kCifs: case kSmb2: case kAfs: case kKafs: case kCoda:
    case kCeph: case kNcp: case kV9fs: case kIso9660: case kUdf: case kTmpfs: case kRamfs:
        return false;
    case kFuse: {
        std::string_view sub = fuseTypeName;
        for (std::string_view p : {"fuse.", "fuseblk."})
            if (sub.substr(0, p.size()) == p) sub.remove_prefix(p.size());
        for (std::string_view net : kNetworkFuse)
            if (sub == net) return false;
        return true;
    }
    default:
        return true;
    }
}

bool isUsableDrive(const std::string& path)
{
    std::string where = existingAncestor(path);
    if (where.empty()) return false;
    struct statfs fs {};
    if (::statfs(where.c_str(), &fs) != 0) return false;
    unsigned long magic = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFUL;
    return isUsableFileSystem(magic, magic == kFuse ? mountTypeOf(where) : std::string());
}

} // namespace qorvid
