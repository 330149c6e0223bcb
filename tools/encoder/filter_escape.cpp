#include "encoder/filter_escape.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qorvid::tools {
namespace {

std::string escapeChars(const std::string& text, const char* special)
{
    std::string out;
    for (char c : text) {
        for (const char* s = special; *s; ++s)
            if (c == *s) {
                out += '\\';
                break;
            }
        out += c;
    }
    return out;
}

} // namespace

std::string escapeFilterValue(const std::string& value)
{
    // First level: the filter's option list ("key=value:key=value").
    std::string option = escapeChars(value, "\\':");
    // Second level: the graph ("filter=args,filter;[label]").
    return escapeChars(option, "\\'[],;");
}

std::string plainNumber(double value)
{
    char text[400];
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
    } else {
        for (int decimals = 1; decimals <= 17; ++decimals) {
            std::snprintf(text, sizeof text, "%.*f", decimals, value);
            if (std::strtod(text, nullptr) == value) break;
        }
    }
    std::string s = text;
    if (s == "-0") s = "0";
    return s;
}

} // namespace qorvid::tools
