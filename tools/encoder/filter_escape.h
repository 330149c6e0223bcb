#pragma once
#include <string>

namespace qorvid::tools {

// A value (file name, style text) made safe for one option of an FFmpeg filter inside a
// filter graph: escaped for the option list and again for the graph, so that any characters
// a file name may hold reach the filter unchanged.
std::string escapeFilterValue(const std::string& value);

// A number in the shortest plain decimal form ("0.1", "-4", "256").
std::string plainNumber(double value);

} // namespace qorvid::tools
