// Subtitle files decoded for the tools, in every code page the system offers, and the player
// plugin's subtitle options read back as numbers.
#include "common/subtitle_text.h"
#include "fuzz_input.h"
#include "player/player_arguments.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    static const char* const pages[] = {"", "cp950", "cp936", "cp1250", "unicode", "cp9999"};
    const std::string page = pages[data[0] % 6];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    (void)qorvid::tools::subtitleAsUtf8(bytes, page);
    // The same bytes as the values of the options the player's style is made from.
    const std::string_view text = fuzzText(data + 1, size - 1);
    std::vector<std::string> args = {"-sub", "a.srt"};
    const char* options[] = {"-subfont-outline", "-subfont-blur", "-subpos"};
    size_t at = 0;
    for (const char* option : options) {
        const size_t end = std::min(text.size(), at + 12);
        args.push_back(option);
        args.emplace_back(text.substr(at, end - at));
        at = end;
    }
    qorvid::tools::drawSubtitlesWithLibass(args);
    return 0;
}
