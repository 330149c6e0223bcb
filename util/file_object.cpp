#include "util/file_object.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid {
namespace {

constexpr char kSep = '/';

std::string trimSpaces(const std::string& s)
{
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// Positions of the last separator and of the last "." that belongs to the file name.
struct Split {
    size_t sep = std::string::npos;
    size_t dot = std::string::npos;
};

Split split(const std::string& p)
{
    Split s;
    s.sep = p.rfind(kSep);
    size_t dot = p.rfind('.');
    if (dot != std::string::npos && (s.sep == std::string::npos || dot > s.sep)) s.dot = dot;
    return s;
}

std::string nameStart(const std::string& p, const Split& s)
{
    return s.sep == std::string::npos ? p : p.substr(s.sep + 1);
}

bool statPath(const std::string& path, struct stat& st)
{
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

} // namespace

bool FileObject::FileExists(const std::string& path) const
{
    struct stat st {};
    return statPath(trimSpaces(path), st) && !S_ISDIR(st.st_mode);
}

bool FileObject::FolderExists(const std::string& path) const
{
    struct stat st {};
    return statPath(trimSpaces(path), st) && S_ISDIR(st.st_mode);
}

std::string FileObject::GetBaseName(const std::string& path) const
{
    std::string p = trimSpaces(path);
    Split s = split(p);
    size_t from = s.sep == std::string::npos ? 0 : s.sep + 1;
    size_t to = s.dot == std::string::npos ? p.size() : s.dot;
    return p.substr(from, to - from);
}

std::string FileObject::GetExtensionName(const std::string& path) const
{
    std::string p = trimSpaces(path);
    Split s = split(p);
    return s.dot == std::string::npos ? std::string() : p.substr(s.dot + 1);
}

std::string FileObject::GetFileName(const std::string& path) const
{
    std::string p = trimSpaces(path);
    return nameStart(p, split(p));
}

std::string FileObject::GetParentFolderName(const std::string& path) const
{
    std::string p = trimSpaces(path);
    Split s = split(p);
    return s.sep == std::string::npos ? std::string() : p.substr(0, s.sep + 1);
}

std::string FileObject::GetDriveName(const std::string& path) const
{
    std::string p = trimSpaces(path);
    return p.substr(0, p.empty() ? 0 : 1);
}

std::string FileObject::GetSpecialFolder(int which) const
{
    if (which != 2) return {};
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != kSep) folder += kSep;
    return folder;
}

std::string FileObject::ShortPath(const std::string& path) const { return trimSpaces(path); }

std::string FileObject::GetFileText(const std::string& path) const
{
    std::ifstream f(trimSpaces(path), std::ios::binary);
    if (!f) return {};
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void FileObject::DeleteFile(const std::string& path) const
{
    std::string p = trimSpaces(path);
    if (!p.empty()) ::unlink(p.c_str());
}

bool FileObject::CreateTextFile(const std::string& path, const std::string& text) const
{
    std::ofstream f(trimSpaces(path), std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f << text << "\r\n";
    f.close();
    return !f.fail();
}

FileObject& fileObject()
{
    static FileObject instance;
    return instance;
}

} // namespace qorvid
