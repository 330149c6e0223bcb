#include "encoder/ffmpeg_plan.h"

#include "encoder/audio_chain.h"
#include "encoder/ffmpeg_log.h"
#include "encoder/video_chain.h"
#include "encoder/filter_escape.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <thread>

namespace qorvid::tools {
namespace {

bool oneOf(const std::string& value, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (value == n) return true;
    return false;
}

// Bit rates of MEncoder's option lists: kbit/s up to 16000, bit/s above.
std::string bitRate(const std::string& value, std::string& error, const std::string& what)
{
    auto n = parseNumber(value);
    if (!n || *n <= 0) {
        error = "bad " + what + " value: " + value;
        return {};
    }
    double bits = *n <= 16000 ? *n * 1000 : *n;
    return plainNumber(std::round(bits));
}

std::string kiloBits(const std::string& value, std::string& error, const std::string& what)
{
    auto n = parseNumber(value);
    if (!n || *n <= 0) {
        error = "bad " + what + " value: " + value;
        return {};
    }
    return plainNumber(std::round(*n * 1000));
}

std::string wholeNumber(const std::string& value, std::string& error, const std::string& what)
{
    auto n = parseNumber(value);
    if (!n || *n < 0 || *n != std::floor(*n)) {
        error = "bad " + what + " value: " + value;
        return {};
    }
    return plainNumber(*n);
}

// Times for FFmpeg, to the microsecond.
std::string timeText(double seconds)
{
    return plainNumber(std::round(seconds * 1e6) / 1e6);
}

std::string checkKnown(const SubOptions& options, const std::set<std::string>& known,
                       const std::string& list)
{
    for (const auto& o : options)
        if (!known.count(o.key)) return "unknown " + list + " item: " + o.key;
    return {};
}

// One encoding thread per core: FFmpeg's "auto" gives one more, and the extra slice costs
// time here rather than saving it.
unsigned encoderThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
}

// Video encoder switches for -ovc lavc / xvid / x264; empty codec means no video.
struct VideoEncoding {
    std::vector<std::string> args;
    bool yuv420 = true;
    std::string error;
};

VideoEncoding lavcVideo(const SubOptions& lavc)
{
    VideoEncoding v;
    static const std::set<std::string> known = {
        "vcodec", "acodec", "abitrate", "vbitrate", "keyint", "vrc_buf_size", "vrc_minrate",
        "vrc_maxrate", "vstrict", "vqscale", "vqmin", "vqmax", "vmax_b_frames", "threads",
        // quality switches of the old encoder that FFmpeg decides itself
        "mbd", "trell", "v4mv", "autoaspect", "vhq", "cbp", "mv0", "qpel", "last_pred",
        "precmp", "cmp", "subcmp", "predia", "dia", "vb_strategy", "aspect"};
    v.error = checkKnown(lavc, known, "-lavcopts");
    if (!v.error.empty()) return v;
    const SubOption* codec = findSubOption(lavc, "vcodec");
    std::string name = codec ? codec->value : "mpeg4";
    if (name.empty() || name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") !=
                            std::string::npos) {
        v.error = "bad video codec: " + name;
        return v;
    }
    v.yuv420 = oneOf(name, {"mpeg1video", "mpeg2video", "mpeg4", "msmpeg4", "msmpeg4v2",
                            "wmv1", "wmv2", "h263", "h263p", "flv", "h261"});
    v.args = {"-c:v", name};
    const SubOption* keyint = findSubOption(lavc, "keyint");
    v.args.push_back("-g");
    v.args.push_back(keyint ? wholeNumber(keyint->value, v.error, "keyint") : "250");
    struct Mapping {
        const char* key;
        const char* option;
        std::string (*convert)(const std::string&, std::string&, const std::string&);
    };
    static const Mapping mappings[] = {
        {"vbitrate", "-b:v", bitRate},         {"vrc_maxrate", "-maxrate", kiloBits},
        {"vrc_minrate", "-minrate", kiloBits}, {"vrc_buf_size", "-bufsize", kiloBits},
        {"vqscale", "-q:v", wholeNumber},      {"vqmin", "-qmin", wholeNumber},
        {"vqmax", "-qmax", wholeNumber},       {"vmax_b_frames", "-bf", wholeNumber},
    };
    for (const auto& m : mappings) {
        if (const SubOption* o = findSubOption(lavc, m.key)) {
            v.args.push_back(m.option);
            v.args.push_back(m.convert(o->value, v.error, m.key));
        }
    }
    // These encoders cut each picture into one slice per thread; the old encoder used one.
    const SubOption* threads = findSubOption(lavc, "threads");
    if (threads) v.args.insert(v.args.end(), {"-threads:v", wholeNumber(threads->value, v.error, "threads")});
    else if (oneOf(name, {"mpeg4", "mpeg1video", "mpeg2video"}))
        v.args.insert(v.args.end(), {"-threads:v", std::to_string(encoderThreads())});
    if (const SubOption* strict = findSubOption(lavc, "vstrict")) {
        auto n = parseNumber(strict->value);
        if (!n) v.error = "bad vstrict value: " + strict->value;
        else v.args.insert(v.args.end(), {"-strict:v", plainNumber(*n)});
    }
    return v;
}

// A switch of an option list that can be turned off as "noname"; the last word wins.
bool switchOn(const SubOptions& options, const std::string& name, bool byDefault)
{
    bool on = byDefault;
    for (const auto& o : options) {
        if (o.key == name) on = !o.hasValue || o.value != "0";
        else if (o.key == "no" + name) on = false;
    }
    return on;
}

// The old encoder's own defaults for what -xvidencopts leaves out: trellis quantisation,
// high-quality AC prediction and mode decision by rate and distortion. (Chroma motion search
// comes with me_quality 3 and up.)
void addXvidQuality(const SubOptions& xvid, VideoEncoding& v)
{
    if (switchOn(xvid, "trellis", true)) v.args.insert(v.args.end(), {"-trellis", "1"});
    std::string flags;
    if (switchOn(xvid, "hq_ac", true)) flags += "+aic";
    if (switchOn(xvid, "qpel", false)) flags += "+qpel";
    if (switchOn(xvid, "gmc", false)) flags += "+gmc";
    if (!flags.empty()) v.args.insert(v.args.end(), {"-flags", flags});
    // FFmpeg has no plain rate-distortion mode decision (vhq=1, the old encoder's default):
    // the nearest also refines whole blocks by rate. It costs two fifths more time, and
    // without it the picture is 0.4 dB worse than the old encoder's at the same bit rate.
    const SubOption* vhq = findSubOption(xvid, "vhq");
    std::string level = vhq ? wholeNumber(vhq->value, v.error, "vhq") : "1";
    if (level == "1" || level == "2") v.args.insert(v.args.end(), {"-mbd", "bits"});
    else if (!level.empty() && level != "0") v.args.insert(v.args.end(), {"-mbd", "rd"});
}

VideoEncoding xvidVideo(const SubOptions& xvid)
{
    VideoEncoding v;
    static const std::set<std::string> known = {
        "bitrate", "max_key_interval", "max_bframes", "quant_type", "me_quality", "fixed_quant",
        "threads", "chroma_opt", "nochroma_opt", "vhq", "bvhq", "trellis", "notrellis", "hq_ac",
        "nohq_ac", "autoaspect", "noautoaspect", "turbo", "chroma_me", "nochroma_me", "qpel",
        "noqpel", "gmc", "nogmc", "cartoon", "nocartoon", "interlacing", "nointerlacing"};
    v.error = checkKnown(xvid, known, "-xvidencopts");
    if (!v.error.empty()) return v;
    v.args = {"-c:v", "libxvid"};
    const SubOption* key = findSubOption(xvid, "max_key_interval");
    v.args.push_back("-g");
    v.args.push_back(key ? wholeNumber(key->value, v.error, "max_key_interval") : "300");
    if (const SubOption* o = findSubOption(xvid, "bitrate"))
        v.args.insert(v.args.end(), {"-b:v", bitRate(o->value, v.error, "bitrate")});
    if (const SubOption* o = findSubOption(xvid, "fixed_quant"))
        v.args.insert(v.args.end(), {"-q:v", wholeNumber(o->value, v.error, "fixed_quant")});
    const SubOption* bf = findSubOption(xvid, "max_bframes");
    v.args.insert(v.args.end(), {"-bf", bf ? wholeNumber(bf->value, v.error, "max_bframes") : "2"});
    if (const SubOption* o = findSubOption(xvid, "quant_type")) {
        if (o->value == "h263") v.args.insert(v.args.end(), {"-mpeg_quant", "0"});
        else if (o->value == "mpeg") v.args.insert(v.args.end(), {"-mpeg_quant", "1"});
        else v.error = "bad quant_type value: " + o->value;
    }
    const SubOption* me = findSubOption(xvid, "me_quality");
    v.args.insert(v.args.end(), {"-me_quality", me ? wholeNumber(me->value, v.error, "me_quality") : "6"});
    addXvidQuality(xvid, v);
    if (const SubOption* o = findSubOption(xvid, "threads"))
        v.args.insert(v.args.end(), {"-threads:v", wholeNumber(o->value, v.error, "threads")});
    return v;
}

VideoEncoding x264Video(const SubOptions& x264)
{
    VideoEncoding v;
    static const std::set<std::string> known = {
        "bitrate", "keyint", "bframes", "crf", "qp", "preset", "tune", "profile", "level_idc",
        "frameref", "threads", "subq", "8x8dct", "me", "partitions", "trellis", "weight_b",
        "nofast_pskip", "mixed_refs", "b_pyramid", "psnr", "ssim"};
    v.error = checkKnown(x264, known, "-x264encopts");
    if (!v.error.empty()) return v;
    v.args = {"-c:v", "libx264"};
    if (const SubOption* o = findSubOption(x264, "keyint"))
        v.args.insert(v.args.end(), {"-g", wholeNumber(o->value, v.error, "keyint")});
    if (const SubOption* o = findSubOption(x264, "bitrate"))
        v.args.insert(v.args.end(), {"-b:v", kiloBits(o->value, v.error, "bitrate")});
    if (const SubOption* o = findSubOption(x264, "bframes"))
        v.args.insert(v.args.end(), {"-bf", wholeNumber(o->value, v.error, "bframes")});
    if (const SubOption* o = findSubOption(x264, "crf"))
        v.args.insert(v.args.end(), {"-crf", o->value});
    if (const SubOption* o = findSubOption(x264, "qp"))
        v.args.insert(v.args.end(), {"-qp", wholeNumber(o->value, v.error, "qp")});
    if (const SubOption* o = findSubOption(x264, "frameref"))
        v.args.insert(v.args.end(), {"-refs", wholeNumber(o->value, v.error, "frameref")});
    for (const char* passed : {"preset", "tune", "profile"})
        if (const SubOption* o = findSubOption(x264, passed))
            v.args.insert(v.args.end(), {std::string("-") + passed, o->value});
    // Unnamed, the preset is "fast" rather than x264's "medium": a sixth less time for
    // 0.1 dB, which still leaves the picture above the old encoder's at the same bit rate.
    if (!findSubOption(x264, "preset")) v.args.insert(v.args.end(), {"-preset", "fast"});
    if (const SubOption* o = findSubOption(x264, "threads"))
        v.args.insert(v.args.end(), {"-threads:v", o->value == "auto" ? "0" : o->value});
    return v;
}

struct AudioEncoding {
    std::vector<std::string> args;
    int forcedChannels = 0;
    std::string error;
};

AudioEncoding audioEncoding(const EncodeOptions& o)
{
    AudioEncoding a;
    if (o.audioEncoder == "copy") {
        a.args = {"-c:a", "copy"};
    } else if (o.audioEncoder == "lavc") {
        const SubOption* codec = findSubOption(o.lavcOptions, "acodec");
        std::string name = codec ? codec->value : "mp2";
        if (name.empty() || name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") !=
                                std::string::npos) {
            a.error = "bad audio codec: " + name;
            return a;
        }
        const SubOption* rate = findSubOption(o.lavcOptions, "abitrate");
        a.args = {"-c:a", name, "-b:a",
                  kiloBits(rate ? rate->value : "224", a.error, "abitrate")};
    } else if (o.audioEncoder == "mp3lame") {
        static const std::set<std::string> known = {"cbr", "abr", "br", "vbr", "q", "aq",
                                                    "mode", "fast", "preset"};
        a.error = checkKnown(o.lameOptions, known, "-lameopts");
        if (!a.error.empty()) return a;
        a.args = {"-c:a", "libmp3lame"};
        const SubOption* br = findSubOption(o.lameOptions, "br");
        bool constant = findSubOption(o.lameOptions, "cbr") != nullptr;
        bool average = findSubOption(o.lameOptions, "abr") != nullptr;
        if (br && (constant || average)) {
            a.args.insert(a.args.end(), {"-b:a", kiloBits(br->value, a.error, "br")});
            if (average) a.args.insert(a.args.end(), {"-abr", "1"});
        } else {
            const SubOption* q = findSubOption(o.lameOptions, "q");
            a.args.insert(a.args.end(),
                          {"-q:a", q ? wholeNumber(q->value, a.error, "q") : "4"});
        }
        if (const SubOption* mode = findSubOption(o.lameOptions, "mode"))
            if (mode->value == "3") a.forcedChannels = 1;
    } else if (o.audioEncoder == "pcm") {
        a.args = {"-c:a", "pcm_s16le"};
    } else if (o.audioEncoder.empty()) {
        a.error = "no audio encoder given (-oac); use -nosound for none";
    } else {
        a.error = "unsupported audio encoder -oac " + o.audioEncoder;
    }
    return a;
}

std::string extensionOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

} // namespace

std::string normaliseFrameRate(const std::string& text)
{
    size_t slash = text.find('/');
    if (slash != std::string::npos) {
        auto num = parseNumber(text.substr(0, slash));
        auto den = parseNumber(text.substr(slash + 1));
        if (!num || !den || *num <= 0 || *den <= 0) return {};
        return text;
    }
    auto v = parseNumber(text);
    if (!v || *v <= 0) return {};
    for (int base : {15, 24, 30, 48, 60, 120}) {
        double ntsc = base * 1000.0 / 1001.0;
        if (std::fabs(*v - ntsc) < 0.0015) return std::to_string(base * 1000) + "/1001";
    }
    return plainNumber(*v);
}

double frameRateValue(const std::string& text)
{
    const std::string rate = normaliseFrameRate(text);
    if (rate.empty()) return 0;
    const size_t slash = rate.find('/');
    if (slash == std::string::npos) return parseNumber(rate).value_or(0);
    return parseNumber(rate.substr(0, slash)).value_or(0) / parseNumber(rate.substr(slash + 1)).value_or(1);
}

std::string aviVideoTag(const EncodeOptions& o)
{
    if (o.fourcc.empty() && o.videoEncoder == "xvid") return "XVID";
    return o.fourcc;
}

MuxerChoice chooseMuxer(const EncodeOptions& o)
{
    MuxerChoice c;
    if (o.muxer.empty() || o.muxer == "avi") {
        c.muxer = "avi";
    } else if (o.muxer == "lavf") {
        static const std::set<std::string> known = {"format", "delay", "muxrate", "packetsize",
                                                    "preload", "i_certify_that_my_video_stream_does_not_use_b_frames"};
        c.error = checkKnown(o.lavfOptions, known, "-lavfopts");
        const SubOption* format = findSubOption(o.lavfOptions, "format");
        std::string name = format ? format->value : std::string();
        if (name.empty()) {
            static const std::map<std::string, std::string> byExtension = {
                {"avi", "avi"},  {"mpg", "mpeg"}, {"mpeg", "mpeg"}, {"vob", "vob"},
                {"dat", "vcd"},  {"wmv", "asf"},  {"asf", "asf"},   {"wma", "asf"},
                {"mp4", "mp4"},  {"mov", "mov"},  {"mkv", "matroska"}, {"flv", "flv"},
                {"ogg", "ogg"},  {"ogm", "ogg"},  {"3gp", "3gp"},   {"ts", "mpegts"}};
            auto it = byExtension.find(extensionOf(o.target));
            if (it == byExtension.end()) {
                c.error = "cannot tell the output format from " + o.target + "; give -lavfopts format=";
                return c;
            }
            name = it->second;
        }
        if (name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") != std::string::npos)
            c.error = "bad output format: " + name;
        c.muxer = name;
    } else if (o.muxer == "mpeg") {
        static const std::set<std::string> known = {
            "format", "tsaf", "interleaving2", "vaspect", "vbitrate", "vframerate", "vwidth",
            "vheight", "muxrate", "init_vpts", "init_apts", "drop", "skip_padding",
            "noreorder", "telecine", "film2pal", "vbuf_size", "abuf_size"};
        c.error = checkKnown(o.mpegOptions, known, "-mpegopts");
        const SubOption* format = findSubOption(o.mpegOptions, "format");
        std::string name = format ? format->value : "mpeg2";
        static const std::map<std::string, std::string> formats = {
            {"mpeg1", "mpeg"}, {"mpeg2", "vob"}, {"xvcd", "vcd"}, {"xsvcd", "svcd"},
            {"dvd", "dvd"}};
        auto it = formats.find(name);
        if (it == formats.end()) c.error = "unsupported -mpegopts format: " + name;
        else c.muxer = it->second;
    } else {
        c.error = "unsupported output format -of " + o.muxer;
    }
    return c;
}

namespace {

using Args = std::vector<std::string>;

// Where a later piece's input seek starts before its first picture: FFmpeg's seek in an MPEG
// programme stream can land a few pictures late.
constexpr double pieceSeekMargin = 1.5;

// How far beyond its own places a piece reads the source, so that the rate filter has the
// pictures to choose from that it has in one run.
constexpr double pieceMargin = 0.5;

// The source's pictures a piece needs, on the whole run's clock.
std::string pieceInput(const PlanContext& ctx)
{
    const double zero = ctx.clockZero;
    std::string trim;
    if (ctx.pieceFrom > 0) trim += "start=" + timeText(zero + std::max(0.0, ctx.pieceFrom - pieceMargin));
    if (ctx.pieceTo > 0) trim += (trim.empty() ? "" : ":") + std::string("end=") + timeText(zero + ctx.pieceTo + pieceMargin);
    return (trim.empty() ? "" : "trim=" + trim + ",") + "setpts=PTS-" + timeText(zero) + "/TB";
}

// The piece's own places of the result, the later pieces' stamped from 0.
std::string pieceOutput(const PlanContext& ctx)
{
    std::string trim;
    if (ctx.pieceFrom > 0) trim += "start=" + timeText(ctx.pieceFrom);
    if (ctx.pieceTo > 0) trim += (trim.empty() ? "" : ":") + std::string("end=") + timeText(ctx.pieceTo);
    return "trim=" + trim + (ctx.pieceFrom > 0 ? ",setpts=PTS-STARTPTS" : "");
}

// The input with its seeks; returns where the cut begins in the source.
double addInput(const EncodeOptions& o, const PlanContext& ctx, Args& a)
{
    if (ctx.piece || ctx.soundOnly) {
        // The pieces pick their pictures by the file's own clock, so that they meet exactly
        // however far from the mark the seek lands.
        if (ctx.pieceFrom > 0) a.insert(a.end(), {"-ss", timeText(std::max(0.0, ctx.pieceFrom - pieceSeekMargin))});
        // A core for each piece: threads of its own would only take turns with the others'.
        if (ctx.piece) a.insert(a.end(), {"-threads", "1"});
        a.insert(a.end(), {"-copyts", "-i", o.source});
        return 0;
    }
    // A copied picture can only begin at a key frame. Like the player's seek, the cut moves on
    // to the first one at or after -ss, for the sound as well, and lasts -endpos from there.
    bool copiedPicture = ctx.source.hasVideo && o.videoEncoder == "copy";
    double start = o.start.value_or(0);
    double cutBegin = start;
    if (copiedPicture && start > 0 && ctx.source.startKeyFrame >= 0) cutBegin = ctx.source.startKeyFrame;
    double seekTo = copiedPicture ? std::max(0.0, cutBegin - 1.0) : cutBegin;
    if (copiedPicture && ctx.source.programStream && cutBegin > 0) {
        // Seeking the input just past the key frame starts the copy on it.
        a.insert(a.end(), {"-ss", timeText(cutBegin + 0.02), "-i", o.source});
        return cutBegin;
    }
    if (seekTo > 0) a.insert(a.end(), {"-ss", timeText(seekTo)});
    a.insert(a.end(), {"-i", o.source});
    if (cutBegin - seekTo > 0) a.insert(a.end(), {"-ss", timeText(cutBegin - seekTo)});
    return cutBegin;
}

// The encoder's options, the filter graph, the pixel format and the frame rate of a picture
// that is encoded (not copied); "" or the reason it cannot be.
std::string addEncodedVideo(const EncodeOptions& o, const PlanContext& ctx, Args& a)
{
    VideoEncoding v;
    if (o.videoEncoder == "lavc") v = lavcVideo(o.lavcOptions);
    else if (o.videoEncoder == "xvid") v = xvidVideo(o.xvidOptions);
    else if (o.videoEncoder == "x264") v = x264Video(o.x264Options);
    else v.error = "unsupported video encoder -ovc " + o.videoEncoder;
    if (!v.error.empty()) return v.error;
    if (ctx.piece) {
        auto threads = std::find(v.args.begin(), v.args.end(), "-threads:v");
        if (threads != v.args.end() && threads + 1 != v.args.end()) *(threads + 1) = "1";
    }
    a.insert(a.end(), v.args.begin(), v.args.end());

    VideoChain chain = buildVideoChain(o, ctx);
    if (!chain.error.empty()) return chain.error;
    const std::string fps = o.outputFps.empty() ? "" : normaliseFrameRate(o.outputFps);
    if (!o.outputFps.empty() && fps.empty()) return "bad -ofps value: " + o.outputFps;
    std::string graph = ctx.piece ? pieceInput(ctx) : "";
    if (!chain.graph.empty()) graph += (graph.empty() ? "" : ",") + chain.graph;
    // Each place of the result takes the picture the filter picks by time alone: the same in
    // a piece as in one run.
    if (ctx.rateInGraph && !fps.empty()) graph += std::string(graph.empty() ? "" : ",") + "fps=fps=" + fps + ":start_time=0";
    if (ctx.piece) graph += "," + pieceOutput(ctx);
    if (!graph.empty()) a.insert(a.end(), {"-vf", graph});
    if (v.yuv420) a.insert(a.end(), {"-pix_fmt", "yuv420p"});
    if (!fps.empty()) a.insert(a.end(), {"-r", fps});
    if (!o.outputFps.empty() || chain.constantRate) a.insert(a.end(), {"-fps_mode", "cfr"});
    return {};
}

std::string addVideo(const EncodeOptions& o, const PlanContext& ctx, const MuxerChoice& muxer, Args& a)
{
    if (o.videoEncoder.empty()) return "no video encoder given (-ovc)";
    if (o.videoEncoder == "copy") {
        a.insert(a.end(), {"-c:v", "copy"});
    } else if (std::string error = addEncodedVideo(o, ctx, a); !error.empty()) {
        return error;
    }
    const std::string tag = aviVideoTag(o);
    if (!tag.empty() && muxer.muxer == "avi") a.insert(a.end(), {"-tag:v", tag});
    return {};
}

std::string addAudio(const EncodeOptions& o, const PlanContext& ctx, Args& a)
{
    AudioEncoding enc = audioEncoding(o);
    if (!enc.error.empty()) return enc.error;
    a.insert(a.end(), enc.args.begin(), enc.args.end());
    if (o.audioEncoder == "copy") return {};
    AudioChain chain = buildAudioChain(o);
    if (!chain.error.empty()) return chain.error;
    if (ctx.soundOnly) {
        // Read on the file's clock, the sound keeps the place it has in one run.
        const std::string zero = "asetpts=PTS-" + timeText(ctx.clockZero) + "/TB";
        chain.graph = zero + (chain.graph.empty() ? "" : "," + chain.graph);
    }
    if (!chain.graph.empty()) a.insert(a.end(), {"-af", chain.graph});
    int channels = chain.channels ? chain.channels : o.channels;
    if (enc.forcedChannels) channels = enc.forcedChannels;
    if (channels > 0) a.insert(a.end(), {"-ac", std::to_string(channels)});
    int rate = chain.sampleRate ? chain.sampleRate : o.sampleRate;
    if (rate > 0) a.insert(a.end(), {"-ar", std::to_string(rate)});
    return {};
}

} // namespace

double FfmpegPlan::expectedFor(double sourceDuration) const
{
    double available = std::max(0.0, sourceDuration - cutBegin);
    if (length && (*length < available || available <= 0)) return *length;
    return available;
}

bool planNeedsSource(const EncodeOptions& o)
{
    if (o.videoEncoder == "copy" && o.start && *o.start > 0) return true;
    if (o.audioEncoder.empty() && !o.noSound) return true;
    return !o.subtitles.file.empty() && buildVideoChain(o, PlanContext{}).needsSourceSize;
}

FfmpegPlan planFfmpegRun(const EncodeOptions& o, const PlanContext& ctx)
{
    FfmpegPlan plan;
    MuxerChoice muxer = chooseMuxer(o);
    if (!muxer.error.empty()) {
        plan.error = muxer.error;
        return plan;
    }
    Args& a = plan.args;
    a = {"-nostdin", "-hide_banner", "-nostats", "-loglevel", ffmpegLogLevel, "-progress", "pipe:1", "-y"};
    plan.cutBegin = addInput(o, ctx, a);

    // Unread, the source may lack either stream: the maps then ask for them only if present.
    bool video = (!ctx.sourceKnown || ctx.source.hasVideo) && !ctx.soundOnly;
    bool audio = (!ctx.sourceKnown || ctx.source.hasAudio) && !o.noSound;
    const std::string ifPresent = ctx.sourceKnown ? "" : "?";
    if (video) a.insert(a.end(), {"-map", "0:v:0" + ifPresent});
    if (audio) a.insert(a.end(), {"-map", "0:a:0" + ifPresent});
    if (!video && !audio) {
        plan.error = "the source has neither picture nor sound to encode";
        return plan;
    }
    if (video)
        plan.error = addVideo(o, ctx, muxer, a);
    else
        a.push_back("-vn");
    if (plan.error.empty() && audio)
        plan.error = addAudio(o, ctx, a);
    else if (!audio)
        a.push_back("-an");
    if (!plan.error.empty()) return plan;
    a.insert(a.end(), {"-sn", "-dn"});

    plan.length = o.length;
    if (o.length && !ctx.piece) a.insert(a.end(), {"-t", timeText(*o.length)});
    plan.expectedSeconds = plan.expectedFor(ctx.sourceKnown ? ctx.source.duration : 0);
    if (ctx.piece) plan.expectedSeconds = (ctx.pieceTo > 0 ? ctx.pieceTo : plan.expectedSeconds) - ctx.pieceFrom;
    const std::string format = ctx.soundOnly ? "matroska" : muxer.muxer;
    a.insert(a.end(), {"-max_muxing_queue_size", "4096", "-f", format, ctx.output});
    return plan;
}

} // namespace qorvid::tools
