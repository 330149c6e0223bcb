#pragma once
#include <string>
#include <vector>

namespace qorvid::cli {

struct CoreSetup;

// qorvid-cli probe FILE: prints the source fields, one name=value a line, and the GIF verdict.
int runProbe(CoreSetup& core, const std::vector<std::string>& args);

} // namespace qorvid::cli
