#include "encoder/source_probe.h"

#include "encoder/ffmpeg_log.h"
#include "util/subprocess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace qorvid::tools {

std::vector<std::string> sourceProbeArguments(const std::string& source)
{
    return {"-v", "error", "-show_entries", "stream=codec_type,width,height,start_time:format=format_name,start_time,duration",
            "-of", "default=nw=1", source};
}

SourceInfo parseSourceProbe(const std::string& text)
{
    SourceInfo info;
    std::istringstream in(text);
    std::string line, current;
    bool inFirstVideo = false, inFirstAudio = false, inFormat = false;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_type") {
            inFirstVideo = value == "video" && !info.hasVideo;
            inFirstAudio = value == "audio" && !info.hasAudio;
            if (value == "video") info.hasVideo = true;
            if (value == "audio") info.hasAudio = true;
        } else if (key == "width" && inFirstVideo) {
            info.width = std::atoi(value.c_str());
        } else if (key == "height" && inFirstVideo) {
            info.height = std::atoi(value.c_str());
        } else if (key == "start_time") {
            // The streams' come first; the file's follows its format_name.
            char* end = nullptr;
            double t = std::strtod(value.c_str(), &end);
            if (end == value.c_str()) continue;
            if (inFormat) info.startTime = t;
            else if (inFirstVideo) info.videoStart = t;
            else if (inFirstAudio) info.audioStart = t;
        } else if (key == "format_name") {
            inFormat = true;
            info.programStream = value == "mpeg" || value == "mpegvideo";
        } else if (key == "duration") {
            char* end = nullptr;
            double d = std::strtod(value.c_str(), &end);
            if (end != value.c_str() && d > 0) info.duration = d;
        }
    }
    return info;
}

std::vector<std::string> keyFrameProbeArguments(const std::string& source, double seconds)
{
    // Wide enough for sparse key frames: the start moves forward to the next one.
    char interval[64];
    std::snprintf(interval, sizeof interval, "%.3f%%+%.3f", seconds > 1 ? seconds - 1 : 0.0, 121.0);
    return {"-v", "error", "-select_streams", "v:0", "-read_intervals", interval,
            "-show_entries", "packet=pts_time,dts_time,flags", "-of", "csv=p=0", source};
}

double parseKeyFrameFrom(const std::string& text, double seconds, double startTime)
{
    double best = -1;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        // pts_time,dts_time,flags
        size_t c1 = line.find(','), c2 = line.find(',', c1 == std::string::npos ? 0 : c1 + 1);
        if (c1 == std::string::npos || c2 == std::string::npos) continue;
        if (line.find('K', c2) == std::string::npos) continue;
        std::string pts = line.substr(0, c1), dts = line.substr(c1 + 1, c2 - c1 - 1);
        char* end = nullptr;
        double t = std::strtod(pts.c_str(), &end);
        if (end == pts.c_str()) {
            t = std::strtod(dts.c_str(), &end);
            if (end == dts.c_str()) continue;
        }
        t -= startTime;
        t = std::max(0.0, t);
        if (t >= seconds - 0.0005 && (best < 0 || t < best)) best = t;
    }
    return best;
}

// ffprobe prints only when done. We print nothing meanwhile, and the caller gives up on a
// silent tool after 24 s: give up first, so that the reason is ours.
const RunLimits probeLimits{20 * 1000, 20 * 1000};

std::string readSource(const EncodeOptions& o, PlanContext& ctx)
{
    Captured probe = runAndCapture("ffprobe", sourceProbeArguments(o.source), probeLimits);
    if (!probe.startError.empty()) return probe.startError;
    if (probe.timedOut) return "cannot read the source " + o.source + ": ffprobe did not answer in time";
    if (probe.exitCode != 0) return "cannot read the source " + o.source + ": " + lastLines(probe.errors, 1);
    ctx.source = parseSourceProbe(probe.output);
    ctx.sourceKnown = true;
    if (o.videoEncoder == "copy" && o.start && *o.start > 0 && ctx.source.hasVideo) {
        // The player reads -ss as the stream's own clock in a programme stream, from the
        // file's beginning elsewhere; the cut starts where its seek lands.
        const double from = ctx.source.programStream ? std::max(0.0, *o.start - ctx.source.startTime) : *o.start;
        Captured keys = runAndCapture("ffprobe", keyFrameProbeArguments(o.source, from + ctx.source.startTime),
                                      probeLimits);
        if (keys.exitCode == 0) ctx.source.startKeyFrame = parseKeyFrameFrom(keys.output, from, ctx.source.startTime);
    }
    return {};
}


std::string fontFamilyOf(const std::string& fontFile)
{
    // Reading one font file is quick; a stuck fc-scan only costs the family name.
    Captured c = runAndCapture("fc-scan", {"--format", "%{family[0]}", fontFile}, RunLimits{10 * 1000, 10 * 1000});
    if (c.exitCode != 0) return {};
    std::string family = c.output;
    size_t nl = family.find('\n');
    if (nl != std::string::npos) family.resize(nl);
    return family;
}

} // namespace qorvid::tools
