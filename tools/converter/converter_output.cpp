#include "converter/converter_output.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace qorvid::tools {
namespace {

bool digitsAt(const std::string& s, size_t at, size_t count)
{
    if (at + count > s.size()) return false;
    for (size_t i = at; i < at + count; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

// "[-]hh:mm:ss[.ff]" at the position: its length and value in seconds, or 0 when not there.
size_t clockAt(const std::string& s, size_t at, std::string& seconds)
{
    size_t p = at;
    bool negative = p < s.size() && s[p] == '-';
    if (negative) ++p;
    size_t h = p;
    while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p;
    // More hours than a long can count in seconds is not a clock FFmpeg writes.
    if (p - h > 9) return 0;
    if (p == h || p >= s.size() || s[p] != ':' || !digitsAt(s, p + 1, 2) || p + 3 >= s.size() ||
        s[p + 3] != ':' || !digitsAt(s, p + 4, 2))
        return 0;
    long whole = std::stol(s.substr(h, p - h)) * 3600 + std::stol(s.substr(p + 1, 2)) * 60 +
                 std::stol(s.substr(p + 4, 2));
    p += 6;
    std::string fraction;
    if (p < s.size() && s[p] == '.') {
        size_t f = ++p;
        while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p]))) ++p;
        fraction = "." + s.substr(f, p - f);
        if (fraction == ".") fraction.clear();
    }
    seconds = (negative ? "-" : "") + std::to_string(whole) + fraction;
    return p - at;
}

} // namespace

std::string rewriteConverterLine(const std::string& line)
{
    std::string out;
    out.reserve(line.size());
    size_t i = 0;
    while (i < line.size()) {
        if (line.compare(i, 5, "time=") == 0) {
            std::string seconds;
            size_t n = clockAt(line, i + 5, seconds);
            if (n > 0) {
                out += "time=" + seconds;
                i += 5 + n;
                continue;
            }
        }
        if (line.compare(i, 4, " tbr") == 0) {
            size_t after = i + 4;
            if (after == line.size() || line[after] == ',' || line[after] == '\n' ||
                line[after] == '\r') {
                out += " tb(r)";
                i = after;
                continue;
            }
        }
        out += line[i++];
    }
    return out;
}

std::string rewriteStartTime(const std::string& line, double startSeconds)
{
    size_t at = line.find("Duration:");
    size_t start = at == std::string::npos ? at : line.find(", start: ", at);
    if (start == std::string::npos) return line;
    size_t value = start + 9;
    size_t end = line.find(',', value);
    if (end == std::string::npos) return line;
    double shown = std::atof(line.substr(value, end - value).c_str()) + startSeconds;
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", shown);
    return line.substr(0, value) + text + line.substr(end);
}

std::string ConverterOutputRewriter::line(const std::string& line)
{
    if (line.rfind("Output #", 0) == 0) inOutput_ = true;
    std::string out = rewriteConverterLine(line);
    return inputStart_ > 0 && !inOutput_ ? rewriteStartTime(out, inputStart_) : out;
}

} // namespace qorvid::tools
