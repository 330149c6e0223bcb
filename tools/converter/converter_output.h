#pragma once
#include "common/output_relay.h"

#include <string>

namespace qorvid::tools {

// Makes FFmpeg's console output read like the older FFmpeg the system was made for: progress
// "time=hh:mm:ss.xx" becomes "time=<seconds>", and the stream item ", 25 tbr" is written as
// ", 25 tb(r)".
std::string rewriteConverterLine(const std::string& line);

class ConverterOutputRewriter : public LineRewriter {
public:
    std::string line(const std::string& line) override { return rewriteConverterLine(line); }
};

} // namespace qorvid::tools
