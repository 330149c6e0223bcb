// The encoder plugin's readers of ffprobe's key=value answers, of FFmpeg's tagged messages
// and of its -progress report, up to the "Pos:" status line made from it.
#include "encoder/ffmpeg_log.h"
#include "encoder/progress.h"
#include "encoder/source_probe.h"
#include "fuzz_input.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(fuzzText(data, size));
    qorvid::tools::parseSourceProbe(text);
    for (double at : {0.0, 1.5, 1e9, -3.0}) qorvid::tools::parseKeyFrameFrom(text, at, at / 2);
    qorvid::tools::FfmpegLog log;
    const std::string shown = log.feed(text) + log.finish();
    if (shown.size() > text.size()) __builtin_trap(); // only ever passes lines on, less their tags
    qorvid::tools::ProgressReport report;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!report.line(line)) continue;
        for (double expected : {0.0, 1.0, 3600.0}) {
            for (double elapsed : {0.0, 0.5, 86400.0}) {
                qorvid::tools::PositionFigures f{report.seconds(), report.frames(), expected, elapsed,
                                                 report.bytes()};
                qorvid::tools::positionLine(f);
            }
        }
    }
    return 0;
}
