#include "util/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qorvid {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
} // namespace

std::string trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::string toLower(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::string toUpper(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool endsWith(std::string_view s, std::string_view x)
{
    return s.size() >= x.size() && s.substr(s.size() - x.size()) == x;
}
bool contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

std::string replaceAll(std::string s, std::string_view from, std::string_view to)
{
    if (from.empty()) return s;
    size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::string::npos) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
    return s;
}

std::optional<double> parseNumber(std::string_view text)
{
    std::string s = trim(text);
    if (s.empty()) return std::nullopt;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    size_t digits = 0;
    bool dot = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            ++digits;
        else if (s[i] == '.' && !dot)
            dot = true;
        else
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    return std::strtod(s.c_str(), nullptr);
}

bool isNumeric(std::string_view s) { return parseNumber(s).has_value(); }

double leadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool dot = false;
    size_t digits = 0;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && !dot)
            dot = true;
        else
            break;
    }
    if (digits == 0) return 0;
    return std::strtod(std::string(text.substr(start, i - start)).c_str(), nullptr);
}

std::string formatFixed(double value, int decimals)
{
    // Half away from zero, as decimal formatting of a shown number is expected to round.
    double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale + (value >= 0 ? 1e-9 : -1e-9)) / scale;
    if (rounded == 0) rounded = 0; // no "-0.0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
    return buf;
}

std::string numberText(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7g", value);
    std::string s = buf;
    if (s.find('e') != std::string::npos) {
        std::snprintf(buf, sizeof buf, "%.6f", value);
        s = buf;
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    return s;
}

std::string sanitizeUtf8(std::string_view in)
{
    std::string out;
    out.reserve(in.size());
    const auto* s = reinterpret_cast<const unsigned char*>(in.data());
    size_t n = in.size(), i = 0;
    while (i < n) {
        unsigned char c = s[i];
        size_t len = 0;
        unsigned min = 0;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2; min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3; min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4; min = 0x10000;
        }
        bool ok = len > 0 && i + len <= n;
        unsigned cp = len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; ok && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (ok) {
            out.append(in.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string toUnixLines(std::string_view s)
{
    std::string r;
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            r.push_back('\n');
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            r.push_back(s[i]);
        }
    }
    return r;
}

std::string ensureBackslash(const std::string& path, bool driveFlag)
{
    if (path.empty()) return {};
    std::string p = path;
    if (driveFlag && p.back() != ':') p += ':';
    if (p.back() != kSep) p += kSep;
    return p;
}

} // namespace qorvid
