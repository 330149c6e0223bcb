#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// Carries out one MEncoder command line with FFmpeg: checks, the run with "Pos:" progress on
// standard output, and the target moved into place only when everything succeeded.
// Returns the exit status (0 success).
int runEncoderJob(const std::vector<std::string>& args);

} // namespace qorvid::tools
