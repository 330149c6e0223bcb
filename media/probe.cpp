#include "media/probe.h"

#include "app/lang_text.h"
#include "app/paths.h"
#include "util/command_capture.h"
#include "media/job_state.h"
#include "util/reporters.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>
#include <sys/stat.h>

namespace qorvid {

namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

// The value of a key only when it reads as a number above 0.
bool positive(const std::string& value, double& out)
{
    if (value.empty()) return false;
    out = leadingNumber(value);
    return out > 0;
}

// Tool output may hold any number; what does not fit an int is held at a billion.
int roundToInt(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9))); }

// A side of a picture, when it is one: FFmpeg refuses pictures far smaller than 32768 square,
// and larger sides would overflow the area (width * height) taken later.
bool pictureSide(double v) { return v > 0 && v <= 32768; }

// Where a line of tool output ends: CR on the original platform, LF here.
size_t findLineEnd(std::string_view text, size_t from)
{
    size_t cr = text.find('\r', from), lf = text.find('\n', from);
    return std::min(cr, lf);
}

} // namespace

std::string findValue(std::string_view text, std::string_view key, std::string_view endMark, bool caseSensitive,
                      int& start, bool includeKey)
{
    std::string lowText, lowKey, lowEnd;
    std::string_view t = text, k = key, e = endMark;
    if (!caseSensitive) {
        lowText = toLower(text);
        lowKey = toLower(key);
        lowEnd = toLower(endMark);
        t = lowText;
        k = lowKey;
        e = lowEnd;
    }
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    if (from > t.size() || k.empty()) return {};
    size_t p = t.find(k, from);
    if (p == std::string_view::npos) return {};
    size_t valueStart = p + k.size();
    size_t end;
    size_t endLength;
    if (e.empty()) {
        end = findLineEnd(t, valueStart);
        endLength = 1;
    } else {
        end = t.find(e, valueStart);
        endLength = e.size();
    }
    if (end == std::string_view::npos) return {};
    std::string value = trim(text.substr(valueStart, end - valueStart));
    start = static_cast<int>(end + endLength) + 1;
    if (includeKey)
        return std::string(key) + value + std::string(text.substr(end, endLength));
    return value;
}

std::string findValueBefore(std::string_view text, std::string_view separator, std::string_view marker)
{
    size_t m = text.find(marker);
    if (m == std::string_view::npos || m == 0) return {};
    size_t s = text.rfind(separator, m - 1);
    if (s == std::string_view::npos) return {};
    size_t from = s + separator.size();
    if (from > m) return {};
    return std::string(text.substr(from, m - from));
}

float timeToSeconds(std::string_view text, float addend)
{
    if (text.find(':') == std::string_view::npos) return static_cast<float>(leadingNumber(text));
    std::vector<std::string_view> parts;
    size_t pos = 0;
    for (;;) {
        size_t c = text.find(':', pos);
        parts.push_back(text.substr(pos, c == std::string_view::npos ? std::string_view::npos : c - pos));
        if (c == std::string_view::npos) break;
        pos = c + 1;
    }
    double sum = 0, factor = 1;
    for (size_t i = parts.size(); i-- > 0;) {
        sum += leadingNumber(trim(parts[i])) * factor;
        factor *= 60;
    }
    return static_cast<float>(sum + addend);
}

int roundUp(double x)
{
    if (!(x > -2e9)) return x != x ? 0 : std::numeric_limits<int>::min(); // NaN reads 0
    if (x >= 2e9) return std::numeric_limits<int>::max();
    double f = std::floor(x);
    return static_cast<int>(f) + (x > f ? 1 : 0);
}

bool checkToolFile(const std::string& path, MessageSink& messages, const LangText& lang)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return true;
    messages.showMessage(lang[Msg::PluginsMissing]);
    return false;
}

void probeWithConverter(CommandCapture& runner, const AppPaths& paths, const std::string& file, float& length,
                        float& startTime, float& fps)
{
    std::string out = runner.RunAndCapture(paths.toolPath(3) + " -i " + quoted(file), false);
    int pos = 1;
    std::string duration = findValue(out, "Duration:", ",", false, pos);
    if (!duration.empty()) length = timeToSeconds(duration, 0);
    std::string start = findValue(out, "start:", ",", false, pos);
    if (!start.empty()) startTime = timeToSeconds(start, 0);
    std::string rate = findValueBefore(out, ",", "tb(r)");
    if (auto v = parseNumber(rate); v && *v > 0) fps = static_cast<float>(*v);
}

void probeWithMci(MediaInfo* info, const std::string& file, float& length, float& fps)
{
    length = 0;
    fps = 0;
    if (info) info->query(file, length, fps);
}

namespace {

void readIdentify(const std::string& out, JobState& job)
{
    double v = 0;
    if (positive(findValue(out, "ID_VIDEO_WIDTH="), v) && pictureSide(v)) job.srcWidth = roundToInt(v);
    if (positive(findValue(out, "ID_VIDEO_HEIGHT="), v) && pictureSide(v)) job.srcHeight = roundToInt(v);
    if (positive(findValue(out, "ID_VIDEO_FPS="), v)) job.srcFps = static_cast<float>(v);

    std::string length = findValue(out, "ID_LENGTH=");
    if (!length.empty()) {
        std::string whole = length.substr(0, length.find('.'));
        if (whole.size() >= 6)
            job.srcLength = 99999;
        else if (positive(length, v))
            job.srcLength = static_cast<float>(v);
    }

    if (auto s = findValue(out, "ID_DEMUXER="); !s.empty()) job.srcDemuxer = toLower(s);
    if (auto s = findValue(out, "ID_VIDEO_FORMAT="); !s.empty()) job.srcVideoFormat = toLower(s);
    if (auto s = findValue(out, "ID_AUDIO_CODEC="); !s.empty()) job.srcAudioCodec = toLower(s);

    // Only the sound values printed after the decoders were opened are the real ones.
    size_t codecAt = out.find("ID_VIDEO_CODEC=");
    int pos = codecAt == std::string::npos ? 1 : static_cast<int>(codecAt) + 1;
    std::string bitrate = findValue(out, "ID_AUDIO_BITRATE=", "", false, pos);
    if (positive(bitrate, v)) {
        job.srcAudioBitrate = roundToInt(v) / 1000;
        if (job.srcAudioBitrate > 320) job.srcAudioBitrate = 128;
    } else {
        job.srcAudioBitrate = 64;
    }
    job.srcAudioRate = positive(findValue(out, "ID_AUDIO_RATE=", "", false, pos), v) ? roundToInt(v) : 22050;
    job.srcAudioChannels = positive(findValue(out, "ID_AUDIO_NCH=", "", false, pos), v) ? roundToInt(v) : 2;
}

} // namespace

std::string probeGifFrames(const std::string& identify, const std::string& source, JobState& job, ProbeContext& ctx)
{
    std::string sizeLine = findValue(identify, "VIDEO:  [\bRGB]");
    if (!sizeLine.empty()) {
        size_t x = sizeLine.find('x');
        size_t blank = x == std::string::npos ? std::string::npos : sizeLine.find(' ', x);
        std::string size = trim(sizeLine.substr(0, blank));
        size_t sep = size.find('x');
        if (sep != std::string::npos && size.find('x', sep + 1) == std::string::npos) {
            auto w = parseNumber(size.substr(0, sep)), h = parseNumber(size.substr(sep + 1));
            if (w && h && pictureSide(*w) && pictureSide(*h)) {
                job.srcWidth = roundToInt(*w);
                job.srcHeight = roundToInt(*h);
            }
        }
    }

    std::string out = ctx.runner.RunAndCapture(ctx.paths.toolPath(1) + " -ao null -vo null -fps 10000 " + quoted(source),
                                               false);
    size_t v = out.rfind("V:");
    if (v == std::string::npos) return {};
    size_t s = v + 2;
    size_t dot = out.find('.', s), slash = out.find('/', s);
    if (dot == std::string::npos || dot + 1 >= out.size()) return {};
    std::string t = trim(out.substr(s, dot + 2 - s));
    if (auto time = parseNumber(t); time && slash != std::string::npos && slash > dot) {
        job.srcLength = static_cast<float>(*time);
        std::string upToSlash = trim(out.substr(s, slash - s));
        size_t blank = upToSlash.find(' ');
        std::string frames = blank == std::string::npos ? std::string() : trim(upToSlash.substr(blank));
        if (auto n = parseNumber(frames)) {
            job.srcGifFrames = roundToInt(*n);
            if (job.srcLength > 0)
                job.srcFps = static_cast<float>(std::round(job.srcGifFrames / job.srcLength * 100.0) / 100.0);
        }
    }
    if (job.srcGifFrames > 0) return std::string(job.srcGifFrames == 1 ? kStaticGif : kAnimatedGifs);
    return {};
}

void repairAsfRate(const std::string& source, JobState& job, ProbeContext& ctx)
{
    float unusedLength = 0, rate = 0;
    probeWithConverter(ctx.runner, ctx.paths, source, unusedLength, job.srcTimeShift, rate);
    if (job.srcTimeShift == 0) job.srcTimeShift = 3.0f;
    job.srcLength -= job.srcTimeShift;
    if (rate > 0) job.srcFps = rate;
    if (!(job.srcFps > 0 && job.srcFps <= 30)) job.srcFps = 30;
    if (job.srcFps >= 29 && job.srcFps < 30) job.srcFps = 29.97f;
    if (ctx.checkAsfMci && !job.srcVideoFormat.empty()) {
        float mciLength = 0, mciFps = 0;
        probeWithMci(ctx.mediaInfo, source, mciLength, mciFps);
        if (mciFps > 0) job.srcFps = mciFps;
    }
}

std::string analyseSource(const std::string& source, JobState& job, ProbeContext& ctx)
{
    const std::string player = ctx.paths.toolPath(1);
    if (!checkToolFile(player, ctx.messages, ctx.lang)) return {};
    if (ctx.view) ctx.view->showProbeBusy(ctx.lang[Msg::AnalysingSource]);

    std::string out = ctx.runner.RunAndCapture(player + " -identify -ao null -vo null -frames 0 " + quoted(source), false);
    readIdentify(out, job);

    if (job.srcDemuxer == "mpegps" || job.srcVideoFormat == "0x10000001" || job.srcVideoFormat == "0x10000002") {
        float length = 0, start = 0, fps = 0;
        probeWithConverter(ctx.runner, ctx.paths, source, length, start, fps);
        if (length > 0) job.srcLength = length;
    }

    std::string verdict;
    if (job.srcWidth * job.srcHeight == 0 && job.srcDemuxer == "gif") verdict = probeGifFrames(out, source, job, ctx);

    if (job.srcDemuxer == "asf" && (job.srcFps == 0 || job.srcFps == 1000)) repairAsfRate(source, job, ctx);

    float tenths = 10.0f * job.srcLength; // single precision on purpose: 12.3 stays 12.3
    job.srcLength = static_cast<float>(roundUp(tenths)) / 10.0f;
    if (!(job.srcFps > 0) || job.srcFps == 1000) job.srcFps = 30;
    if (job.srcWidth * job.srcHeight == 0) job.srcFps = 0;

    if (ctx.view) {
        std::string tip = job.srcDemuxer + ctx.lang[Msg::ListSeparator] + job.srcVideoFormat + ctx.lang[Msg::ListSeparator] + job.srcAudioCodec;
        if (job.srcTimeShift != 0) tip += ctx.lang[Msg::ListSeparator] + "TimeShift= " + numberText(job.srcTimeShift);
        ctx.view->setVideoInfoNote(job, tip);
        ctx.view->hideProbeBusy();
    }
    return verdict;
}

} // namespace qorvid
