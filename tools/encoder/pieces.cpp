#include "encoder/pieces.h"

#include "common/argument_values.h"
#include "encoder/ffmpeg_log.h"

#include <algorithm>
#include <cmath>
#include <sched.h>
#include <sys/statvfs.h>

namespace qorvid::tools {
namespace {

// Shorter pieces would spend too much of their time starting and seeking.
constexpr double minPieceSeconds = 10;
constexpr int maxPieces = 8;
// The joined target and the pieces it is made of, with room for bit rates running over.
constexpr double piecesRoom = 2.5;
// Sound without a set bit rate: the most LAME's default quality gives, or PCM.
constexpr double unsetSoundBits = 256000;

bool noBFrames(const SubOptions& options, const char* key, bool byDefault)
{
    const SubOption* o = findSubOption(options, key);
    return o ? o->value == "0" : byDefault;
}

} // namespace

bool joinableEncoding(const EncodeOptions& o)
{
    if (o.videoEncoder == "xvid") return noBFrames(o.xvidOptions, "max_bframes", false);
    if (o.videoEncoder != "lavc") return false;
    const SubOption* codec = findSubOption(o.lavcOptions, "vcodec");
    const std::string name = codec ? codec->value : "mpeg4";
    return (name == "mpeg4" || name == "msmpeg4" || name == "msmpeg4v2") &&
           noBFrames(o.lavcOptions, "vmax_b_frames", true);
}

int usableCores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(1, CPU_COUNT(&set));
}

bool mayRunInPieces(const EncodeOptions& o, int cores)
{
    if (cores < 2 || !joinableEncoding(o) || o.outputFps.empty()) return false;
    if (o.start && *o.start > 0) return false;
    if (!o.subtitles.file.empty()) return false; // the text's times are the whole run's
    const MuxerChoice muxer = chooseMuxer(o);
    return muxer.error.empty() && muxer.muxer == "avi";
}

std::vector<double> pieceBounds(const EncodeOptions& o, const SourceInfo& s, int cores)
{
    if (!s.hasVideo || s.duration <= 0 || s.videoStart < 0) return {};
    if (s.hasAudio && !o.noSound && s.audioStart < 0) return {};
    const double rate = frameRateValue(o.outputFps);
    if (rate <= 0) return {};
    const double total = o.length ? std::min(*o.length, s.duration) : s.duration;
    const int count = std::min({cores, maxPieces, static_cast<int>(total / minPieceSeconds)});
    if (count < 2) return {};
    std::vector<double> bounds{0};
    const double places = total * rate;
    for (int i = 1; i < count; ++i) bounds.push_back((std::round(places * i / count) - 0.5) / rate);
    bounds.push_back(o.length && *o.length < s.duration ? *o.length : 0);
    return bounds;
}

double expectedBytes(const std::vector<std::string>& args, double seconds)
{
    const double picture = numberAfter(args, "-b:v", 0);
    if (picture <= 0) return 0;
    const bool sound = std::find(args.begin(), args.end(), "-an") == args.end();
    const double audio = sound ? numberAfter(args, "-b:a", unsetSoundBits) : 0;
    return (picture + audio) * seconds / 8;
}

bool roomForPieces(const std::string& target, double targetBytes)
{
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    struct statvfs fs {};
    if (statvfs(folder.c_str(), &fs) != 0) return false;
    return static_cast<double>(fs.f_bavail) * static_cast<double>(fs.f_frsize) >= piecesRoom * targetBytes;
}

double runClockZero(const EncodeOptions& o, const SourceInfo& s)
{
    if (s.hasAudio && !o.noSound && s.audioStart >= 0) return std::min(s.videoStart, s.audioStart);
    return s.videoStart;
}

std::string joinList(const std::vector<std::string>& pieces)
{
    std::string list = "ffconcat version 1.0\n";
    for (const auto& p : pieces) {
        std::string quoted;
        for (char c : p) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        list += "file '" + quoted + "'\n";
    }
    return list;
}

std::vector<std::string> joinArguments(const std::string& listFile, const std::string& sound,
                                       const std::string& videoTag, const std::string& output)
{
    std::vector<std::string> a = {"-nostdin", "-hide_banner", "-nostats", "-loglevel", ffmpegLogLevel,
                                  "-progress", "pipe:1", "-y", "-f", "concat", "-safe", "0", "-i", listFile};
    if (!sound.empty()) a.insert(a.end(), {"-i", sound});
    a.insert(a.end(), {"-map", "0:v:0"});
    if (!sound.empty()) a.insert(a.end(), {"-map", "1:a:0"});
    a.insert(a.end(), {"-c", "copy"});
    if (!videoTag.empty()) a.insert(a.end(), {"-tag:v", videoTag});
    a.insert(a.end(), {"-max_muxing_queue_size", "4096", "-f", "avi", output});
    return a;
}

} // namespace qorvid::tools
