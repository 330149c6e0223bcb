// The encoder plugin's command-line reader, every "-xxxopts" sub-option list included, and
// the FFmpeg run planned from what it understood.
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // NUL separates the arguments.
    const std::vector<std::string> args = fuzzFields(data, size, 64);
    qorvid::tools::ParsedOptions parsed = qorvid::tools::parseEncoderArguments(args);
    if (parsed.error.empty()) {
        qorvid::tools::PlanContext ctx;
        ctx.output = "/tmp/out.part";
        ctx.source.hasVideo = ctx.source.hasAudio = true;
        ctx.source.width = 320;
        ctx.source.height = 240;
        ctx.source.duration = 10;
        qorvid::tools::planFfmpegRun(parsed.options, ctx);
    }
    for (const auto& a : args) {
        qorvid::tools::SubOptions sub = qorvid::tools::parseSubOptions(a);
        qorvid::tools::findSubOption(sub, "vcodec");
        qorvid::tools::parseTime(a);
        qorvid::tools::parseNumber(a);
    }
    return 0;
}
