#include "common/subtitle_text.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <unistd.h>

namespace qorvid::tools {

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

bool validUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + static_cast<size_t>(more) >= s.size()) return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) >> 6) != 2) return false;
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

// iconv from `from` to UTF-8; an undecodable byte becomes U+FFFD and decoding goes on.
std::string decode(std::string_view bytes, const char* from)
{
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    size_t left = bytes.size();
    while (left > 0) {
        char* to = buffer;
        size_t room = sizeof buffer;
        const size_t r = iconv(cd, &in, &left, &to, &room);
        out.append(buffer, static_cast<size_t>(to - buffer));
        if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
        out += kReplacement; // EILSEQ, or EINVAL: a sequence cut off at the end
        const size_t skip = errno == EINVAL ? left : 1;
        in += skip;
        left -= skip;
    }
    iconv_close(cd);
    return out;
}

const char* iconvName(const std::string& codepage)
{
    if (codepage == "cp950") return "CP950";
    if (codepage == "cp936") return "CP936";
    if (codepage == "cp1250") return "CP1250";
    return nullptr;
}

} // namespace

std::optional<std::string> subtitleAsUtf8(std::string_view bytes, const std::string& codepage)
{
    const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xFF\xFE")) return decode(bytes.substr(2), "UTF-16LE");
    if (starts("\xFE\xFF")) return decode(bytes.substr(2), "UTF-16BE");
    if (starts("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    if (const char* name = iconvName(codepage)) return decode(bytes, name);
    if (validUtf8(bytes)) return std::nullopt;
    return decode(bytes, codepage == "unicode" ? "UTF-16LE" : "CP1252");
}

Utf8Subtitle::~Utf8Subtitle()
{
    if (fd_ >= 0) close(fd_);
}

std::string Utf8Subtitle::open(const std::string& file, const std::string& codepage)
{
    path_ = file;
    std::ifstream in(file, std::ios::binary);
    if (!in) return "cannot open the subtitle file " + file + ": " + std::strerror(errno);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::optional<std::string> text = subtitleAsUtf8(bytes, codepage);
    if (!text) return {};
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qorvid-subtitle-XXXXXX";
    fd_ = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) return "cannot copy the subtitle file: " + std::string(std::strerror(errno));
    unlink(pattern.c_str()); // the copy lives as long as our descriptor
    for (size_t done = 0; done < text->size();) {
        const ssize_t n = write(fd_, text->data() + done, text->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return "cannot copy the subtitle file: " + std::string(std::strerror(errno));
        done += static_cast<size_t>(n);
    }
    path_ = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(fd_);
    return {};
}

} // namespace qorvid::tools
