#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// The first argument that names a FIFO or a socket. Opening one waits for a peer that may
// never come, so a tool handed one would hang; the tools refuse it instead. Options (words
// beginning with "-") are not names. Empty when there is none.
std::string firstWaitingFile(const std::vector<std::string>& args);

} // namespace qorvid::tools
