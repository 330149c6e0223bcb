#include "encoder/audio_chain.h"

#include "encoder/filter_escape.h"

#include <cmath>
#include <optional>
#include <vector>

namespace qorvid::tools {

AudioChain buildAudioChain(const EncodeOptions& o)
{
    AudioChain chain;
    std::vector<std::string> parts;
    // A negative delay makes the sound late; a positive one makes it early.
    if (o.audioDelay < 0)
        parts.push_back("adelay=delays=" + plainNumber(std::round(-o.audioDelay * 1000)) + ":all=1");
    else if (o.audioDelay > 0)
        parts.push_back("atrim=start=" + plainNumber(o.audioDelay) + ",asetpts=PTS-STARTPTS");

    for (const auto& f : o.audioFilters) {
        auto param = [&](size_t i) -> std::optional<double> {
            if (i >= f.params.size()) return std::nullopt;
            return parseNumber(f.params[i]);
        };
        if (f.name == "volume") {
            auto db = f.params.empty() ? std::optional<double>(0) : param(0);
            if (!db) {
                chain.error = "bad value in -af volume";
                return chain;
            }
            parts.push_back("volume=" + plainNumber(*db) + "dB");
        } else if (f.name == "volnorm") {
            parts.push_back("dynaudnorm");
        } else if (f.name == "channels") {
            auto n = param(0);
            if (!n || *n < 1 || *n > 8 || *n != std::floor(*n)) {
                chain.error = "bad value in -af channels";
                return chain;
            }
            chain.channels = static_cast<int>(*n);
        } else if (f.name == "resample" || f.name == "lavcresample") {
            auto r = param(0);
            if (!r || *r < 1000 || *r > 1e6 || *r != std::floor(*r)) {
                chain.error = "bad value in -af " + f.name;
                return chain;
            }
            chain.sampleRate = static_cast<int>(*r);
        } else {
            chain.error = "unknown audio filter -af " + f.name;
            return chain;
        }
    }
    // Sound and picture kept in step where the source's sound has gaps or overlaps.
    if (o.syncCorrection > 0) parts.push_back("aresample=async=1");
    for (size_t i = 0; i < parts.size(); ++i) chain.graph += (i ? "," : "") + parts[i];
    return chain;
}

} // namespace qorvid::tools
