#include "engine/format_time.h"

#include "util/text.h"

#include <cmath>
#include <cstdio>

namespace qorvid {

namespace {
std::string twoDigits(long v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02ld", v);
    return buf;
}

// Formats with a pattern of "0" or "00" integer digits and the given decimals.
std::string withPattern(double v, int intDigits, int decimals)
{
    std::string s = formatFixed(v, decimals);
    size_t dot = s.find('.');
    size_t intLen = dot == std::string::npos ? s.size() : dot;
    if (static_cast<int>(intLen) < intDigits) s.insert(0, static_cast<size_t>(intDigits) - intLen, '0');
    return s;
}
} // namespace

std::string FormatTime(float secondsIn, int fields, int decimals, int* usedFields)
{
    // NaN and negative read as 0; beyond a billion hours (a tool's nonsense) the fields would
    // not fit their integers.
    double s = secondsIn >= 0 ? std::min(static_cast<double>(secondsIn), 3.6e12) : 0.0;
    s = std::floor((s + 0.004) * 100.0) / 100.0;
    int intDigits = (s < 10 && fields < 2) ? 1 : 2;
    if (decimals < 0) decimals = 0;

    long h = static_cast<long>(s / 3600);
    long m = static_cast<long>((s - 3600.0 * h) / 60);
    if (fields == 4) {
        h = 0;
        m = static_cast<long>(s / 60);
    }
    double sec = s - 3600.0 * h - 60.0 * m;
    if (intDigits == 2 && decimals == 0) sec = std::trunc(sec);

    if (fields == 0) {
        if (usedFields) *usedFields = 1;
        return withPattern(intDigits == 2 && decimals == 0 ? std::trunc(s) : s, intDigits, decimals);
    }
    std::string text = withPattern(sec, intDigits, decimals);
    int used = 1;
    if (fields >= 2 || m >= 1) {
        text = twoDigits(m) + ":" + text;
        used = 2;
    }
    if (fields == 3 || h >= 1) {
        text = twoDigits(h) + ":" + text;
        used = 3;
    }
    if (usedFields) *usedFields = used;
    return text;
}

} // namespace qorvid
