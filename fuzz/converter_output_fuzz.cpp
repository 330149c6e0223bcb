// The converter plugin's rewriting of FFmpeg's console output.
#include "common/line_stream.h"
#include "converter/converter_output.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const double start = (data[0] & 0x80) ? 0 : data[0] * 0.125;
    qorvid::tools::ConverterOutputRewriter rewriter(start);
    qorvid::tools::LineStream stream;
    stream.feed(fuzzText(data + 1, size - 1));
    for (const auto& line : stream.takeLines()) {
        rewriter.line(line);
        qorvid::tools::rewriteConverterLine(line);
        qorvid::tools::rewriteStartTime(line, start);
    }
    std::string rest = stream.takeRest();
    if (!rest.empty()) rewriter.line(rest);
    rewriter.finish();
    return 0;
}
