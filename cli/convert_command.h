#pragma once
#include <string>
#include <vector>

namespace qorvid::cli {

struct CoreSetup;

// qorvid-cli convert FILE --to KEY [options]: one conversion from the first check to the result.
int runConvert(CoreSetup& core, const std::vector<std::string>& words);

// qorvid-cli targets: the catalogue, one target a line.
int runTargets(CoreSetup& core);

} // namespace qorvid::cli
