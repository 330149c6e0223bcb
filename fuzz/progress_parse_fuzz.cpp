// The progress readers: MEncoder's "Pos:" and FFmpeg's "time=" markers in a console chunk.
#include "engine/progress_parse.h"
#include "fuzz_input.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view chunk = fuzzText(data, size);
    qorvid::toolStyleOf(chunk);
    for (auto style : {qorvid::ToolStyle::Encoder, qorvid::ToolStyle::Converter}) {
        for (float length : {0.0f, 0.001f, 60.0f, 1e7f, -5.0f}) {
            auto r = qorvid::parseProgressChunk(chunk, style, length);
            if (r && length > 0 && !(r->percent >= 0 && r->percent <= 99.9f + 1e-3f)) __builtin_trap();
        }
    }
    return 0;
}
