#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// The arguments for the real player, from the ones the system passes: the Windows video output
// becomes X11 output scaled to the window (a null output without a display), Windows-only
// options are dropped, and identify runs prefer the FFmpeg MP3 decoder, which reports the real
// channel count of mono files.
std::vector<std::string> playerArguments(const std::vector<std::string>& args, bool hasDisplay);

class Utf8Subtitle;
// The player reads a subtitle file in Latin-1 unless told otherwise: "-sub" gets the file as
// UTF-8 (decoded by "-subcp", which is then dropped) and "-utf8" is added.
void readSubtitlesAsUtf8(std::vector<std::string>& args, Utf8Subtitle& copy);

// The player's own text renderer knows no Chinese glyphs: with "-sub", the text is drawn by
// libass, as the encoder plugin draws it: white, black outline, the outline, blur and
// position of the -subfont-* options in the units of a 288-line picture.
void drawSubtitlesWithLibass(std::vector<std::string>& args);

} // namespace qorvid::tools
