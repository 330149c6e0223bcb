#include "common/argument_values.h"

#include <algorithm>
#include <cstdlib>

namespace qorvid::tools {

double numberAfter(const std::vector<std::string>& args, const char* option, double fallback)
{
    auto it = std::find(args.begin(), args.end(), option);
    if (it == args.end() || it + 1 == args.end()) return fallback;
    char* end = nullptr;
    const double v = std::strtod((it + 1)->c_str(), &end);
    return end && *end == '\0' && end != (it + 1)->c_str() ? v : fallback;
}

} // namespace qorvid::tools
