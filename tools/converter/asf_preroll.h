#pragma once
#include <string>

namespace qorvid::tools {

// The preroll of an ASF (WMV, WMA) file in seconds, from its file properties; 0 for any
// other file. The older converter counted an ASF file's start time from it.
double asfPrerollSeconds(const std::string& path);

} // namespace qorvid::tools
