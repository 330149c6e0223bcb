// The plugins' units: the encoder's FFmpeg plan from a command line (mostly without reading the
// source), its reading of FFmpeg's messages, the fuzzers' findings that once crashed a reader; the
// player's -ss for ASF sources (moved so that the bit-rate seek lands on the key frame a copy cut
// from that time starts with), subtitle files decoded to UTF-8 and the arguments that read them.
#include "common/subtitle_text.h"
#include "converter/converter_output.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_log.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/pieces.h"
#include "encoder/source_probe.h"
#include "encoder/progress.h"
#include "media/probe.h"
#include "player/asf_seek.h"
#include "player/player_arguments.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>

using namespace qorvid::tools;

namespace {

EncodeOptions parse(const std::string& line)
{
    std::istringstream in(line + " in.mpg -o out.avi");
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    auto parsed = parseEncoderArguments(words);
    EXPECT_EQ(parsed.error, "") << line;
    return parsed.options;
}

std::vector<std::string> plan(const std::string& line)
{
    PlanContext unread;
    unread.output = "out.avi";
    FfmpegPlan p = planFfmpegRun(parse(line), unread);
    EXPECT_EQ(p.error, "") << line;
    return p.args;
}

// The value after an option, "" when the option is not there.
std::string valueOf(const std::vector<std::string>& args, const std::string& option)
{
    auto it = std::find(args.begin(), args.end(), option);
    return it == args.end() || it + 1 == args.end() ? std::string() : *(it + 1);
}

// FFmpeg 5.1 at "level+info" converting an MPEG-2 programme stream, cut short.
const std::string startUp =
    "[info] Input #0, mpeg, from 'clip.mpg':\n"
    "[info]   Duration: 00:01:00.01, start: 0.529089, bitrate: 9124 kb/s\n"
    "[info]   Stream #0:0[0x1e0]: Video: mpeg2video (Main), yuv420p(tv, progressive), 1280x720\n"
    "[info]   Stream #0:1[0x1c0]: Audio: mp2, 44100 Hz, stereo, s16p, 192 kb/s\n"
    "[info] Stream mapping:\n"
    "[info]   Stream #0:0 -> #0:0 (mpeg2video (native) -> mpeg4 (native))\n"
    "[info] Output #0, avi, to '/proc/1/fd/3':\n"
    "[info]   Duration: 00:00:09.00, start: 0.000000, bitrate: N/A\n"
    "[mpeg4 @ 0x55d0c3a0] [warning] too many threads/slices (3), reducing to 2\n"
    "[mp3 @ 0x55d0c3b0] [error] Header missing\n"
    "Error while decoding stream #0:1: Invalid data found when processing input\n"
    "[info] video:229kB audio:4kB subtitle:0kB\n";

std::string feedInPieces(FfmpegLog& log, const std::string& text, size_t piece)
{
    std::string shown;
    for (size_t at = 0; at < text.size(); at += piece) shown += log.feed(text.substr(at, piece));
    return shown + log.finish();
}

void put(std::string& s, size_t at, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
}

// A header object holding one other object and the file properties, then the data object.
std::string asfHead(std::uint32_t minPacket, std::uint32_t maxPacket, std::uint32_t bitrate)
{
    const unsigned char header[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                      0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    const unsigned char props[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                     0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
    const size_t other = 30, properties = other + 40, headerSize = properties + 104;
    std::string s(headerSize + 50, '\0');
    std::memcpy(s.data(), header, 16);
    put(s, 16, headerSize, 8);
    put(s, 24, 2, 4);
    s[other] = 0x11; // some other object
    put(s, other + 16, 40, 8);
    std::memcpy(s.data() + properties, props, 16);
    put(s, properties + 16, 104, 8);
    put(s, properties + 92, minPacket, 4);
    put(s, properties + 96, maxPacket, 4);
    put(s, properties + 100, bitrate, 4);
    std::memcpy(s.data() + headerSize, header, 16);
    s[headerSize] = 0x36; // the data object differs from the header object in its first byte
    return s;
}

} // namespace

TEST(FfmpegPlan, AnUnreadSourceGivesEachStreamIfPresentAndOnlySomeLinesReadItFirst)
{
    auto args = plan("-ovc lavc -oac mp3lame");
    EXPECT_EQ(std::count(args.begin(), args.end(), "0:v:0?"), 1);
    EXPECT_EQ(std::count(args.begin(), args.end(), "0:a:0?"), 1);
    args = plan("-ovc lavc -nosound");
    EXPECT_EQ(std::count(args.begin(), args.end(), "0:a:0?"), 0);
    EXPECT_NE(std::find(args.begin(), args.end(), "-an"), args.end());

    const std::pair<const char*, bool> cases[] = {
        {"-ovc lavc -oac mp3lame -ss 5", false},
        {"-ovc copy -oac copy -ss 5", true},  // the cut starts at a key frame
        {"-ovc copy -oac copy", false},
        {"-ovc lavc -nosound", false},
        {"-ovc lavc", true},                  // no -oac is an error only if there is sound
        {"-ovc lavc -nosound -sub s.srt", true}, // text sized to a picture the line leaves open
        {"-ovc lavc -nosound -sub s.srt -vf scale=640:480", false},
        {"-ovc lavc -nosound -sub s.srt -vf scale=640:-2", true},
    };
    for (const auto& [line, readsSource] : cases) EXPECT_EQ(planNeedsSource(parse(line)), readsSource) << line;
}

// The last word wins, and a switch set to 0 is off.
TEST(FfmpegPlan, XvidTakesTheOldEncodersDefaultsAndTheirNoForms)
{
    // The values of -trellis, -flags, -me_quality and -mbd, "-" for an option left out.
    const std::pair<const char*, const char*> cases[] = {
        {"bitrate=800", "1 +aic 6 bits"},       {"vhq=0", "1 +aic 6 -"},
        {"notrellis:nohq_ac:qpel:me_quality=2:vhq=4", "- +qpel 2 rd"},
        {"notrellis:trellis", "1 +aic 6 bits"}, {"trellis=0", "- +aic 6 bits"}};
    for (const auto& [options, expected] : cases) {
        const auto args = plan(std::string("-ovc xvid -xvidencopts ") + options + " -nosound");
        std::string values;
        for (const char* option : {"-trellis", "-flags", "-me_quality", "-mbd"}) {
            const std::string v = valueOf(args, option);
            values += (values.empty() ? "" : " ") + (v.empty() ? "-" : v);
        }
        EXPECT_EQ(values, expected) << options;
    }
}

TEST(FfmpegPlan, X264IsFastUnlessAPresetIsNamed)
{
    EXPECT_EQ(valueOf(plan("-ovc x264 -x264encopts bitrate=800 -nosound"), "-preset"), "fast");
    auto args = plan("-ovc x264 -x264encopts preset=slow:bitrate=800 -nosound");
    EXPECT_EQ(std::count(args.begin(), args.end(), "-preset"), 1);
    EXPECT_EQ(valueOf(args, "-preset"), "slow");
}

TEST(FfmpegPlan, TheExpectedLengthFollowsTheSourceOnceKnown)
{
    FfmpegPlan plan;
    plan.cutBegin = 10;
    EXPECT_DOUBLE_EQ(plan.expectedFor(60), 50);
    EXPECT_DOUBLE_EQ(plan.expectedFor(5), 0); // the cut begins past the end
    plan.length = 20;
    EXPECT_DOUBLE_EQ(plan.expectedFor(60), 20);
    EXPECT_DOUBLE_EQ(plan.expectedFor(25), 15);
    EXPECT_DOUBLE_EQ(plan.expectedFor(0), 20); // source length unknown: the cut's own length
}

// The system's AVI targets on two cores; what keeps a job whole.
TEST(EncoderPieces, OnlyAJoinablePictureFromTheStartIsShared)
{
    const std::string divx = "-noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=800 -oac mp3lame";
    const std::string xvid = "-noodml -ofps 25 -ovc xvid -xvidencopts max_key_interval=23:bitrate=800:max_bframes=0 -oac mp3lame";
    const std::string mp42 = "-noodml -ovc lavc -of lavf -lavfopts format=avi -lavcopts vcodec=msmpeg4v2:keyint=23 -oac mp3lame";
    for (const std::string& line : {divx, xvid, mp42 + " -ofps 20"}) {
        EXPECT_TRUE(mayRunInPieces(parse(line), 2)) << line;
        EXPECT_FALSE(mayRunInPieces(parse(line), 1)) << line;
        EXPECT_FALSE(mayRunInPieces(parse(line + " -ss 5"), 2)) << line;
        EXPECT_FALSE(mayRunInPieces(parse(line + " -sub s.srt"), 2)) << line;
    }
    for (const std::string& line :
         {std::string("-ovc xvid -xvidencopts bitrate=800 -oac mp3lame"), // B-frames by default
          std::string("-ovc lavc -lavcopts vcodec=mpeg4:vmax_b_frames=2 -oac mp3lame"), std::string("-ovc x264 -x264encopts bitrate=800 -oac mp3lame"),
          std::string("-ovc lavc -of mpeg -lavcopts vcodec=mpeg2video -oac lavc"), std::string("-ovc copy -oac copy")})
        EXPECT_FALSE(mayRunInPieces(parse(line), 2)) << line;
}

// One piece a core, none under 10 s; each bound half a place of the result before one; the
// sound's end (-endpos) is the last piece's.
TEST(EncoderPieces, BoundsFallBetweenThePlacesOfTheResult)
{
    SourceInfo s;
    s.hasVideo = s.hasAudio = true;
    s.duration = 60;
    s.videoStart = s.audioStart = 0;
    const EncodeOptions divx = parse("-ofps 25 -ovc lavc -oac mp3lame");
    EXPECT_EQ(pieceBounds(divx, s, 2), (std::vector<double>{0, 29.98, 0}));
    EXPECT_EQ(pieceBounds(parse("-ofps 20 -ovc lavc -oac mp3lame -endpos 30"), s, 2), (std::vector<double>{0, 14.975, 30}));
    EXPECT_EQ(pieceBounds(divx, s, 8).size(), 7u); // six pieces of 10 s
    EXPECT_TRUE(pieceBounds(parse("-ovc lavc -oac mp3lame"), s, 2).empty()); // the rate is the source's
    s.duration = 19;
    EXPECT_TRUE(pieceBounds(divx, s, 2).empty());
    s.duration = 60;
    s.audioStart = -1; // where the sound starts is unknown: it could not be kept in step
    EXPECT_TRUE(pieceBounds(divx, s, 2).empty());
    EXPECT_EQ(pieceBounds(parse("-ofps 25 -ovc lavc -nosound"), s, 2).size(), 3u);
    s.audioStart = 0;
    const auto ntsc = pieceBounds(parse("-ofps 29.97 -ovc lavc -oac mp3lame"), s, 3);
    ASSERT_EQ(ntsc.size(), 4u);
    for (size_t i = 1; i < 3; ++i) {
        const double places = ntsc[i] * 30000 / 1001;
        EXPECT_NEAR(places - std::floor(places), 0.5, 1e-6) << ntsc[i];
    }
}

// The target's expected size, which decides whether its disk has room for the pieces too.
TEST(EncoderPieces, TheTargetsSizeFollowsThePlannedBitRates)
{
    const std::pair<const char*, double> cases[] = {
        {"-ovc lavc -lavcopts vbitrate=800 -oac mp3lame -lameopts cbr:br=128", 928e3 * 60 / 8},
        {"-ovc lavc -lavcopts vbitrate=1600000 -nosound", 1.6e6 * 60 / 8}, // bit/s above 16000
        {"-ovc lavc -lavcopts vqscale=3 -oac mp3lame", 0},                  // a quality, no bit rate
    };
    for (const auto& [line, bytes] : cases) EXPECT_DOUBLE_EQ(expectedBytes(plan(line), 60), bytes) << line;
}

// ffprobe's answer for an MPEG-2 programme stream whose sound starts before its picture.
TEST(EncoderPieces, TheProbeTellsEachStreamsStartFromTheFiles)
{
    const SourceInfo s = parseSourceProbe("codec_type=video\nwidth=1280\nheight=720\nstart_time=0.540000\n"
                                          "codec_type=audio\nstart_time=0.529089\nformat_name=mpeg\n"
                                          "start_time=0.529089\nduration=60.010911\n");
    EXPECT_DOUBLE_EQ(s.videoStart, 0.54);
    EXPECT_DOUBLE_EQ(s.audioStart, 0.529089);
    EXPECT_DOUBLE_EQ(s.startTime, 0.529089);
    EXPECT_TRUE(s.programStream);
    EXPECT_DOUBLE_EQ(runClockZero(parse("-ovc lavc -oac mp3lame"), s), 0.529089);
    EXPECT_DOUBLE_EQ(runClockZero(parse("-ovc lavc -nosound"), s), 0.54);
}

TEST(FfmpegLog, KeepsTheSourcesLengthAndPassesOnOnlyErrorsWithTheirContinuation)
{
    for (size_t piece : {size_t(1), size_t(7), startUp.size()}) {
        FfmpegLog log;
        EXPECT_FALSE(log.sourceOpened());
        std::string shown = feedInPieces(log, startUp, piece);
        EXPECT_TRUE(log.sourceOpened());
        // The input's length, not the output's that follows it.
        ASSERT_TRUE(log.sourceDuration());
        EXPECT_DOUBLE_EQ(*log.sourceDuration(), 60.01);
        EXPECT_EQ(shown, "[mp3 @ 0x55d0c3b0] Header missing\n"
                         "Error while decoding stream #0:1: Invalid data found when processing input\n")
            << "in pieces of " << piece;
    }
}

TEST(FfmpegLog, AnUnopenedSourceAndUnreadableLengths)
{
    FfmpegLog failed;
    EXPECT_EQ(failed.feed("[error] bad.mpg: Invalid data found when processing input"), "");
    EXPECT_EQ(failed.finish(), "bad.mpg: Invalid data found when processing input");
    EXPECT_FALSE(failed.sourceOpened());
    EXPECT_FALSE(failed.sourceDuration());

    FfmpegLog live;
    live.feed("[info] Input #0, mpegts, from 'pipe:':\n[info]   Duration: N/A, start: 1.4\n");
    EXPECT_TRUE(live.sourceOpened());
    EXPECT_FALSE(live.sourceDuration());

    for (const char* line : {"  Duration: 00:61:00.00, start", "  Duration: 1:00:00.5x", "Duration:"})
        EXPECT_FALSE(parseDurationLine(line)) << line;
    EXPECT_DOUBLE_EQ(*parseDurationLine("  Duration: 02:03:04.56, start: 0"), 7384.56);

    // A tag that is not a level stays part of the text; an unterminated one is plain text.
    EXPECT_EQ(untagLine("[h264 @ 0x1] [verbose] x").level, TaggedLine::Level::Detail);
    EXPECT_EQ(untagLine("[h264 @ 0x1] [verbose] x").text, "[h264 @ 0x1] x");
    EXPECT_EQ(untagLine("[unfinished").level, TaggedLine::Level::None);
}

TEST(FuzzFindings, HugeNumbersAreRefusedOrHeldToTheirType)
{
    // More hours than a long holds threw out of the converter plugin.
    EXPECT_EQ(rewriteConverterLine("time=123456789:00:01.5 bitrate"), "time=444444440401.5 bitrate");
    EXPECT_EQ(rewriteConverterLine("time=00040000000000000000000015:00:00 x"), "time=00040000000000000000000015:00:00 x");
    // A whole number beyond int was converted anyway.
    EXPECT_NE(parseEncoderArguments({"-srate", "5555555555555", "a.avi", "-o", "b"}).error, "");
    EXPECT_NE(parseEncoderArguments({"-channels", "4294967298", "a.avi", "-o", "b"}).error, "");
    // Sizes beyond any picture overflowed the size kept for later filters (a 320x240 source read).
    PlanContext read;
    read.source = {true, true, 320, 240, 5};
    auto planError = [&](const std::string& line) { return planFfmpegRun(parse(line), read).error; };
    EXPECT_EQ(planError("-ovc lavc -oac copy -vf scale=11111111111111111111:-2"),
              "bad value in -vf scale: 11111111111111111111");
    EXPECT_EQ(planError("-ovc lavc -oac copy -vf rotate=1e300"), "bad value in -vf rotate: 1e300");
    EXPECT_EQ(planError("-ovc lavc -oac pcm -af lavcresample=4294967296"), "bad value in -af lavcresample");
    // A first report a millionth into a long job, or a size near the top of its type.
    for (auto [seconds, bytes] : {std::pair{1e-6, 1000LL}, std::pair{0.5, 9000000000000000000LL}})
        EXPECT_EQ(positionLine(PositionFigures{seconds, 1, 36000, 1e6, bytes}).rfind("Pos:", 0), 0u) << seconds;
    // Lengths of broken files can be any number.
    EXPECT_EQ(qorvid::roundUp(9.2e17), std::numeric_limits<int>::max());
    EXPECT_EQ(qorvid::roundUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(qorvid::roundUp(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(AsfSeek, LayoutFromTheHeader)
{
    std::optional<AsfLayout> l = parseAsfLayout(asfHead(3200, 3200, 428000));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->firstPacket, 174 + 50);
    EXPECT_EQ(l->packetSize, 3200u);
    EXPECT_EQ(l->maxBitrate, 428000u);
    // Packets of varying size or no bit rate: the seek cannot be worked out.
    EXPECT_FALSE(parseAsfLayout(asfHead(1600, 3200, 428000)));
    EXPECT_FALSE(parseAsfLayout(asfHead(3200, 3200, 0)));
    EXPECT_FALSE(parseAsfLayout("RIFF....AVI LIST"));
    EXPECT_FALSE(parseAsfLayout(asfHead(3200, 3200, 428000).substr(0, 100)));
}

TEST(AsfSeek, SeekValueReadsBackAsThePacket)
{
    // The player counts int(seconds * bit rate / 8 / packet size) packets from the first one.
    const AsfLayout l{809, 3200, 428000};
    const double packetsPerSecond = 428000.0 / 8 / 3200;
    for (std::int64_t packet : {0, 1, 105, 213, 4000}) {
        const double ss = asfSeekFor(l, 809 + packet * 3200);
        EXPECT_EQ(static_cast<std::int64_t>(std::round(ss * 1000) / 1000 * packetsPerSecond), packet) << packet;
        EXPECT_GT(ss, 0);
    }
    // Measured on a file with these fields: -ss 6.3 lands on the key frame in packet 105.
    EXPECT_NEAR(asfSeekFor(l, 336809), 6.31, 0.01);
}

TEST(AsfSeek, OnlyAnAsfSeekToALaterTimeIsMoved)
{
    double asked = -1;
    AsfSeekFacts facts;
    facts.layout = [](const std::string& file) -> std::optional<AsfLayout> {
        if (file == "a.wmv") return AsfLayout{809, 3200, 428000};
        return std::nullopt;
    };
    facts.keyFramePacket = [&](const std::string&, double seconds) -> std::optional<std::int64_t> {
        asked = seconds;
        if (seconds > 25) return std::nullopt; // past the last key frame
        return 336809;
    };
    using Args = std::vector<std::string>;
    EXPECT_EQ(timeAccurateAsfSeek(Args{"-frames", "1", "-ss", "10.00", "-endpos", "0", "a.wmv"}, facts),
              (Args{"-frames", "1", "-ss", "6.310", "-endpos", "0", "a.wmv"}));
    EXPECT_EQ(timeAccurateAsfSeek(Args{"-ss", "00:00:12.5", "a.wmv"}, facts)[1], "6.310");
    EXPECT_DOUBLE_EQ(asked, 12.5);
    for (const Args& same : {Args{"-ss", "10", "a.avi"}, Args{"-ss", "0.00", "a.wmv"}, Args{"-ss", "26", "a.wmv"},
                             Args{"-ss", "ten", "a.wmv"}, Args{"a.wmv"}})
        EXPECT_EQ(timeAccurateAsfSeek(same, facts), same) << same[0] << " " << (same.size() > 1 ? same[1] : "");
}

TEST(SubtitleText, EachCodePageDecodesToUtf8AndAMarkWinsOverTheCodePage)
{
    struct Case {
        std::string bytes, codepage, expected;
    } cases[] = {
        {"\xd6\xd0\xce\xc4", "cp936", "中文"},
        {"\xb3\xf3" "d\x9f", "cp1250", "łódź"},
        {std::string("\xff\xfe\x2d\x4e\x87\x65", 6), "unicode", "中文"},
        {std::string("\x2d\x4e\x87\x65", 4), "unicode", "中文"}, // no mark: little-endian
        {std::string("\xfe\xff\x4e\x2d\x65\x87", 6), "", "中文"},
        {std::string("\xff\xfe\x2d\x4e", 4), "cp950", "中"},
        {"\xef\xbb\xbfHello", "cp936", "Hello"},
        {"caf\xe9", "", "café"},       // not UTF-8 under the default: the Western code page
        {"\xa4\xa4\xff\xa4\xe5", "cp950", "中\xEF\xBF\xBD文"}, // a byte Big5 has no use for
        {std::string("\xff\xfe\x2d\x4e\x87", 5), "", "中\xEF\xBF\xBD"}, // cut off in the middle
    };
    for (const Case& c : cases) {
        const auto text = subtitleAsUtf8(c.bytes, c.codepage);
        ASSERT_TRUE(text.has_value()) << c.codepage << " " << c.expected;
        EXPECT_EQ(*text, c.expected) << c.codepage;
    }
    // UTF-8 stays as it is, without a copy, under the default and under "unicode".
    EXPECT_FALSE(subtitleAsUtf8("中文 text", "").has_value());
    EXPECT_FALSE(subtitleAsUtf8("中文 text", "unicode").has_value());
    EXPECT_FALSE(subtitleAsUtf8("", "").has_value());
}

TEST(SubtitleText, ThePlayerReadsAUtf8CopyAndTheCodePageIsDropped)
{
    const std::string file = testing::TempDir() + "big5.srt";
    qorvid::test::writeFile(file, "1\n00:00:01,000 --> 00:00:02,000\n\xa4\xa4\xa4\xe5\n");
    Utf8Subtitle copy;
    std::vector<std::string> args = {"-subcp", "cp950", "-sub", file, "-subdelay", "0", "-subcp", "cp950", "in.avi"};
    readSubtitlesAsUtf8(args, copy);
    EXPECT_EQ(args, (std::vector<std::string>{"-sub", copy.path(), "-subdelay", "0", "in.avi", "-utf8"}));
    EXPECT_EQ(qorvid::test::readFile(copy.path()), "1\n00:00:01,000 --> 00:00:02,000\n中文\n");

    // A UTF-8 file is read where it is; no subtitle, no change.
    qorvid::test::writeFile(file, "1\n00:00:01,000 --> 00:00:02,000\n中文\n");
    Utf8Subtitle same;
    std::vector<std::string> plain = {"-sub", file, "in.avi"};
    readSubtitlesAsUtf8(plain, same);
    EXPECT_EQ(plain, (std::vector<std::string>{"-sub", file, "in.avi", "-utf8"}));
    std::vector<std::string> none = {"-vo", "x11", "in.avi"};
    readSubtitlesAsUtf8(none, same);
    EXPECT_EQ(none.size(), 3u);
}

TEST(SubtitleText, ThePlayerDrawsTheTextWithLibassInTheEncodersLook)
{
    std::vector<std::string> args = {"-sub", "a.srt", "-subfont-outline", "3", "-subfont-blur", "8", "-subpos", "95", "in.avi"};
    drawSubtitlesWithLibass(args);
    ASSERT_EQ(args.size(), 16u);
    EXPECT_EQ(args[9], "-ass");
    EXPECT_EQ(args.back(), "Outline=3.0,Blur=2.8,Shadow=0,BorderStyle=1,Alignment=2,MarginV=14");
    std::vector<std::string> none = {"in.avi"};
    drawSubtitlesWithLibass(none);
    EXPECT_EQ(none.size(), 1u);
}
