#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qorvid {

class LangText;

// Which console a tool writes: MEncoder's "Pos: 12.3s" or FFmpeg's "time=12.3 ... bitrate".
enum class ToolStyle { Encoder, Converter };

// The tool style is told by the command line alone.
ToolStyle toolStyleOf(std::string_view commandLine);

struct ProgressReading {
    float value = 0;   // media position in seconds, as the tool printed it
    float percent = 0; // 0 to 99.9
    bool oneDecimal = false; // long jobs show one decimal
};

// Reads the first progress marker of one chunk of console output.
std::optional<ProgressReading> parseProgressChunk(std::string_view chunk, ToolStyle style, float lengthSeconds);

// "progress 2 % -->  reached 12.3 seconds" in the current language.
std::string progressCaption(const LangText& lang, const ProgressReading& reading);

} // namespace qorvid
