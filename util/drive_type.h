#pragma once
#include <string>

namespace qorvid {

// Whether targets may be written where the path lies: false only for optical media, read-only
// mounts and folders this user may not write. A path that does not exist yet is judged by its
// nearest existing folder; no folder at all gives false.
bool isUsableDrive(const std::string& path);

// The rule on a file-system type (statfs's f_type).
bool isUsableFileSystem(unsigned long magic);

} // namespace qorvid
