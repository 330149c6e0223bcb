// How the encoder plugin plans an FFmpeg run from a command line, mostly without reading the
// source first.
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
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
