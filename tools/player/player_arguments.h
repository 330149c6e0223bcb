#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// The arguments for the real player, from the ones the system passes: the Windows video output
// becomes X11 output scaled to the window (a null output without a display), Windows-only
// options are dropped, and identify runs prefer the FFmpeg MP3 decoder, which reports the real
// channel count of mono files.
std::vector<std::string> playerArguments(const std::vector<std::string>& args, bool hasDisplay);

} // namespace qorvid::tools
