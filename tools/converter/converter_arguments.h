#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// The arguments for FFmpeg, from the ones the system passes: encoders that FFmpeg no longer
// knows under the old names get their current names, and "-vol N" becomes the equivalent
// volume filter (N/256, merged into an audio filter chain that is already given).
std::vector<std::string> converterArguments(const std::vector<std::string>& args);

// The file FFmpeg writes: the last argument when it is a file name rather than an option, an
// option's value or an input; empty when there is none (a probe run).
std::string converterTarget(const std::vector<std::string>& args);

// The arguments with the target (the last one) replaced by the file FFmpeg really writes, and
// the target's format named, since that file's name has no extension to tell it.
std::vector<std::string> writingInto(std::vector<std::string> args, const std::string& target,
                                     const std::string& file);

// The file after the first "-i"; empty when there is none.
std::string converterInput(const std::vector<std::string>& args);

} // namespace qorvid::tools
