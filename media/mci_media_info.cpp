#include "media/mci_media_info.h"

#include "util/command_capture.h"
#include "util/text.h"

namespace qorvid {

void FfprobeMediaInfo::query(const std::string& file, float& lengthSeconds, float& fps)
{
    lengthSeconds = 0;
    fps = 0;
    std::string out = runner_.RunAndCapture(
        "ffprobe -v error -select_streams v:0 -show_entries format=duration:stream=avg_frame_rate -of default=nw=1 \"" +
            file + "\"",
        false);
    if (auto d = parseNumber(findValue(out, "duration=")); d && *d > 0) lengthSeconds = static_cast<float>(*d);
    std::string rate = findValue(out, "avg_frame_rate=");
    size_t slash = rate.find('/');
    auto num = parseNumber(rate.substr(0, slash));
    auto den = slash == std::string::npos ? std::optional<double>(1) : parseNumber(rate.substr(slash + 1));
    if (num && den && *den > 0) fps = static_cast<float>(*num / *den);
}

} // namespace qorvid
