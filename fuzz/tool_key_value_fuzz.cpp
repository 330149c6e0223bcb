// The encoder plugin's readers of ffprobe's key=value answers and FFmpeg's -progress report.
#include "encoder/progress.h"
#include "encoder/source_probe.h"
#include "fuzz_input.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(fuzzText(data, size));
    qorvid::tools::parseSourceProbe(text);
    for (double at : {0.0, 1.5, 1e9, -3.0}) qorvid::tools::parseKeyFrameFrom(text, at, at / 2);
    qorvid::tools::ProgressReport report;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) report.line(line);
    return 0;
}
