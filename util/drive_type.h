#pragma once
#include <string>
#include <string_view>

namespace qorvid {

// Whether targets may be written where the path lies: true for local disks and removable
// media, false for network file systems, optical media and RAM file systems. A path that
// does not exist yet is judged by its nearest existing folder; no folder at all gives false.
bool isUsableDrive(const std::string& path);

// The rule on a file-system type: statfs's f_type, and for FUSE mounts the mount table's
// type name ("fuse.sshfs", "fuseblk"), which tells network mounts from local ones.
bool isUsableFileSystem(unsigned long magic, std::string_view fuseTypeName = {});

} // namespace qorvid
