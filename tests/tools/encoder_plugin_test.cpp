// The encoder plugin's units: how it plans an FFmpeg run from a command line (mostly without
// reading the source first), how it reads FFmpeg's tagged messages, and the inputs the fuzzers
// found that once crashed or overflowed a reader (now refused or held to what their numbers hold).
#include "converter/converter_output.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_log.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/progress.h"
#include "media/probe.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    for (auto [seconds, bytes] : {std::pair{1e-6, 1000LL}, std::pair{0.5, 9000000000000000000LL}}) {
        PositionFigures absurd{seconds, 1, 36000, 1e6, bytes};
        EXPECT_EQ(positionLine(absurd).rfind("Pos:", 0), 0u);
    }
    // Lengths of broken files can be any number.
    EXPECT_EQ(qorvid::roundUp(9.2e17), std::numeric_limits<int>::max());
    EXPECT_EQ(qorvid::roundUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(qorvid::roundUp(std::numeric_limits<double>::quiet_NaN()), 0);
}
