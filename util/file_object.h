#pragma once
#include <string>

namespace qorvid {

// File-system helpers on plain path strings. Surrounding spaces of a path are trimmed first.
// Paths are split at the platform separator; a "." before the last separator is no extension.
// Failures show as results (false, ""), never as exceptions.
class FileObject {
public:
    bool FileExists(const std::string& path) const;   // an existing entry that is not a folder
    bool FolderExists(const std::string& path) const;
    std::string GetBaseName(const std::string& path) const;      // file name without its last extension
    std::string GetExtensionName(const std::string& path) const; // after the file name's last "."
    std::string GetFileName(const std::string& path) const;      // after the last separator
    std::string GetParentFolderName(const std::string& path) const; // up to and including it
    std::string GetDriveName(const std::string& path) const;     // the first character
    // 0 and 1 (Windows and system folders) have no counterpart and give "";
    // 2 is the temporary folder ($TMPDIR, else /tmp), with a trailing separator.
    std::string GetSpecialFolder(int which) const;
    std::string ShortPath(const std::string& path) const; // no short names here: the path itself
    std::string GetFileText(const std::string& path) const; // the whole file, "" when unreadable
    void DeleteFile(const std::string& path) const;         // errors ignored
    // Replaces the file with the text and a CR LF; false when it cannot be written.
    bool CreateTextFile(const std::string& path, const std::string& text) const;
};

// The program-wide instance.
FileObject& fileObject();

} // namespace qorvid
