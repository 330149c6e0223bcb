#pragma once
#include <string>

namespace qorvid::tools {

// FFmpeg's "-progress" report, read one "key=value" line at a time.
class ProgressReport {
public:
    // True when the line ends a report block ("progress=continue" or "progress=end").
    bool line(const std::string& line);
    double seconds() const { return seconds_; }
    long frames() const { return frames_; }
    long long bytes() const { return bytes_; }
    bool ended() const { return ended_; }

private:
    double seconds_ = 0;
    long frames_ = 0;
    long long bytes_ = 0;
    bool ended_ = false;
};

struct PositionFigures {
    double seconds = 0;        // position reached in the target
    long frames = 0;           // frames written
    double expectedSeconds = 0; // length of the whole target, 0 when unknown
    double elapsedSeconds = 0; // wall time since the start
    long long bytes = 0;       // size of the target so far
};

// MEncoder's status line: "Pos:  12.3s    308f (41%)  ... " ending in a carriage return.
std::string positionLine(const PositionFigures& figures);

} // namespace qorvid::tools
