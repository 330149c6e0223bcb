// The progress readers: MEncoder's "Pos:" and FFmpeg's "time=" markers in a console chunk,
// up to the caption shown for them, and the UTF-8 cleaning every chunk goes through.
#include "app/lang_text.h"
#include "engine/progress_parse.h"
#include "fuzz_input.h"
#include "util/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const qorvid::LangText lang = [] {
        qorvid::LangText l;
        l.load("en");
        return l;
    }();
    const std::string_view chunk = fuzzText(data, size);
    qorvid::toolStyleOf(chunk);
    for (auto style : {qorvid::ToolStyle::Encoder, qorvid::ToolStyle::Converter}) {
        for (float length : {0.0f, 0.001f, 60.0f, 1e7f, -5.0f}) {
            auto r = qorvid::parseProgressChunk(chunk, style, length);
            if (!r) continue;
            if (length > 0 && !(r->percent >= 0 && r->percent <= 99.9f + 1e-3f)) __builtin_trap();
            qorvid::progressCaption(lang, *r);
        }
    }
    const std::string clean = qorvid::sanitizeUtf8(chunk);
    if (qorvid::sanitizeUtf8(clean) != clean) __builtin_trap(); // clean text stays as it is
    return 0;
}
