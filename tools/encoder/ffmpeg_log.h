#pragma once
#include "common/line_stream.h"

#include <optional>
#include <string>

namespace qorvid::tools {

// The loudness FFmpeg runs at: every line tagged with its level, so that the input's
// description (at "info") can be read while only errors are shown.
inline constexpr const char* ffmpegLogLevel = "level+info";

// One line of FFmpeg's messages with its level tag taken out.
struct TaggedLine {
    enum class Level { None, Error, Warning, Info, Detail };
    Level level = Level::None; // None: the line has no tag (it goes on from the last one)
    std::string text;          // the line as FFmpeg would print it untagged
};
TaggedLine untagLine(const std::string& line);

// The length in the input's "  Duration: 00:01:02.50, start: ..." line; nullopt for any
// other line and for "Duration: N/A".
std::optional<double> parseDurationLine(const std::string& text);

// The last non-empty lines of a tool's messages, joined into one.
std::string lastLines(const std::string& text, size_t count);

// Reads FFmpeg's error stream at ffmpegLogLevel: keeps what the source turned out to be and
// passes on only the errors.
class FfmpegLog {
public:
    // The error lines among the chunk's complete lines, untagged, to be shown.
    std::string feed(const std::string& chunk);
    // The same for an unfinished last line, at the end of the stream.
    std::string finish();
    // Whether FFmpeg opened the source (it described it as "Input #0").
    bool sourceOpened() const { return sourceOpened_; }
    // The source's length as FFmpeg read it, once it has said.
    std::optional<double> sourceDuration() const { return duration_; }

private:
    std::string take(const std::string& line);

    LineStream lines_;
    bool showing_ = false; // the last tagged line was an error: untagged ones belong to it
    bool sourceOpened_ = false;
    bool inInput_ = false;
    std::optional<double> duration_;
};

} // namespace qorvid::tools
