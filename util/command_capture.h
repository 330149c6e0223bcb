#pragma once
#include <string>

namespace qorvid {

// Runs a command line to its end and returns all it printed. The tool runner is the one
// implementation; readers of tool output (the probe, the media information) need only this.
class CommandCapture {
public:
    virtual ~CommandCapture() = default;
    virtual std::string RunAndCapture(const std::string& commandLine, bool showWindow) = 0;
};

} // namespace qorvid
