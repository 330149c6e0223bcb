#pragma once
#include "common/output_relay.h"

#include <string>

namespace qorvid::tools {

// Makes FFmpeg's console output read like the older FFmpeg the system was made for: progress
// "time=hh:mm:ss.xx" becomes "time=<seconds>", and the stream item ", 25 tbr" is written as
// ", 25 tb(r)".
std::string rewriteConverterLine(const std::string& line);

// The input's "start:" item counted from the given start of its time line (an ASF file's
// preroll); other items unchanged. Output sections are left alone.
std::string rewriteStartTime(const std::string& line, double startSeconds);

class ConverterOutputRewriter : public LineRewriter {
public:
    explicit ConverterOutputRewriter(double inputStart = 0) : inputStart_(inputStart) {}
    std::string line(const std::string& line) override;

private:
    double inputStart_;
    bool inOutput_ = false;
};

} // namespace qorvid::tools
