// The player plugin's rewriting of the player's identify output, fed as the relay feeds it.
#include "common/line_stream.h"
#include "fuzz_input.h"
#include "player/player_output.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte picks the file's facts and how the output is cut into reads.
    const uint8_t mode = data[0];
    qorvid::tools::SourceFacts facts;
    if (mode & 1) facts.isDv = [mode](const std::string&) { return (mode & 2) != 0; };
    if (mode & 4) facts.duration = [mode](const std::string&) -> std::optional<double> {
        if (mode & 8) return std::nullopt;
        return (mode >> 4) * 7.25;
    };
    qorvid::tools::PlayerOutputRewriter rewriter(facts);
    qorvid::tools::LineStream stream;
    const std::string_view text = fuzzText(data + 1, size - 1);
    const size_t piece = 1 + (mode >> 5) * 9;
    for (size_t at = 0; at < text.size(); at += piece) {
        stream.feed(text.substr(at, piece));
        for (const auto& line : stream.takeLines()) rewriter.line(line);
        if (rewriter.mayPrintUnfinished() && (mode & 16)) stream.takeRest();
    }
    std::string rest = stream.takeRest();
    if (!rest.empty()) rewriter.line(rest);
    rewriter.finish();
    return 0;
}
