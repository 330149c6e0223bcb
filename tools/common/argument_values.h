#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// The number that follows the option in an argument list; the fallback when the option is
// not there or what follows it is not a whole number text.
double numberAfter(const std::vector<std::string>& args, const char* option, double fallback);

} // namespace qorvid::tools
