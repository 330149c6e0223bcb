#include "app/lang_text.h"
#include "engine/format_time.h"
#include "engine/progress_parse.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qorvid;

namespace {
LangText tw()
{
    LangText lang;
    lang.load("tw");
    return lang;
}
} // namespace

TEST(ProgressParse, EncoderChunkRoundsByLength)
{
    const std::string chunk = "Pos:  12.3s    369f ( 2%)  30.00fps Trem:   0min   3mb  A-V:0.000 [800:128]\r";
    auto shortJob = parseProgressChunk(chunk, ToolStyle::Encoder, 600);
    ASSERT_TRUE(shortJob);
    EXPECT_EQ(shortJob->percent, 2.0f); // whole percent up to 1800 s
    EXPECT_EQ(progressCaption(tw(), *shortJob), "處理進度 2 % -->  轉到 12.3 秒");

    auto longJob = parseProgressChunk(chunk, ToolStyle::Encoder, 6000);
    ASSERT_TRUE(longJob);
    EXPECT_FLOAT_EQ(longJob->percent, 0.2f);
    EXPECT_EQ(progressCaption(tw(), *longJob), "處理進度 0.2 % -->  轉到 12.3 秒");
}

TEST(ProgressParse, ConverterChunkUsesItsOwnThreshold)
{
    const std::string chunk = "size=     512kB time=61.20 bitrate= 128.0kbits/s speed=40x\r";
    EXPECT_EQ(parseProgressChunk(chunk, ToolStyle::Converter, 3600)->percent, 1.0f);
    EXPECT_FLOAT_EQ(parseProgressChunk(chunk, ToolStyle::Converter, 3601)->percent, 1.7f);
    // A minute value is past an hour's threshold in the caption too.
    EXPECT_EQ(progressCaption(tw(), *parseProgressChunk(chunk, ToolStyle::Converter, 3601)),
              "處理進度 1.7 % -->  轉到 01:01.2 秒");
}

TEST(ProgressParse, ClampsAndNeverReportsTheEnd)
{
    EXPECT_FLOAT_EQ(parseProgressChunk("Pos: 15.0s ", ToolStyle::Encoder, 10)->percent, 99.9f);
    EXPECT_EQ(parseProgressChunk("Pos: -3.0s ", ToolStyle::Encoder, 10)->percent, 0.0f);
    EXPECT_FLOAT_EQ(parseProgressChunk("Pos: 1.0s ", ToolStyle::Encoder, 0)->percent, 99.9f);
    EXPECT_FLOAT_EQ(parseProgressChunk("time=1.0 bitrate", ToolStyle::Converter, 0)->percent, 99.9f);
}

TEST(ProgressParse, IgnoresChunksWithoutAReadableMarker)
{
    EXPECT_FALSE(parseProgressChunk("no marker at all 12s here", ToolStyle::Encoder, 100));
    EXPECT_FALSE(parseProgressChunk("Pos: abcs ", ToolStyle::Encoder, 100));
    EXPECT_FALSE(parseProgressChunk("Pos: 12.0", ToolStyle::Encoder, 100));          // no end marker
    EXPECT_FALSE(parseProgressChunk("frames Pos: 12.0s ", ToolStyle::Encoder, 100)); // "s " before the marker
    EXPECT_FALSE(parseProgressChunk("Pos: 12.0s ", ToolStyle::Converter, 100));
    // Only the first marker of a chunk counts.
    EXPECT_EQ(parseProgressChunk("Pos: 10.0s 1f\rPos: 50.0s 2f\r", ToolStyle::Encoder, 100)->percent, 10.0f);
}

TEST(ProgressParse, ToolStyleComesFromTheCommandLine)
{
    EXPECT_EQ(toolStyleOf("/opt/q/plugins/ZevraRes3.exe -y -i \"a.avi\""), ToolStyle::Converter);
    EXPECT_EQ(toolStyleOf("/opt/q/plugins/ZevraRes3.dll -y -i \"a.avi\""), ToolStyle::Converter);
    EXPECT_EQ(toolStyleOf("/opt/q/plugins/ZevraRes2.exe \"a.avi\" -o \"b.avi\""), ToolStyle::Encoder);
    EXPECT_EQ(toolStyleOf("/opt/q/plugins/zevrares3.exe"), ToolStyle::Encoder); // the test is case-sensitive
}

TEST(FormatTime, WritesTheFieldsAsked)
{
    EXPECT_EQ(FormatTime(65.3f, 3, 1), "00:01:05.3");
    EXPECT_EQ(FormatTime(12.3f, 1, 1), "12.3");
    EXPECT_EQ(FormatTime(83.5f, 1, 1), "01:23.5");
    EXPECT_EQ(FormatTime(5.2f, 1, 1), "5.2");
    EXPECT_EQ(FormatTime(5.2f, 3, 1), "00:00:05.2");
    EXPECT_EQ(FormatTime(10.0f, 3, 1), "00:00:10.0");
    EXPECT_EQ(FormatTime(3725.0f, 1, 1), "01:02:05.0");
    EXPECT_EQ(FormatTime(65.9f, 3, 0), "00:01:05"); // whole seconds are cut, not rounded
    EXPECT_EQ(FormatTime(-4.0f, 3, 1), "00:00:00.0");
    int used = 0;
    FormatTime(83.5f, 1, 1, &used);
    EXPECT_EQ(used, 2);
    EXPECT_EQ(FormatTime(3725.0f, 4, 0, &used), "62:05");
    EXPECT_EQ(used, 2);
}

// A tool may print any number as its position; the caption is made without overflowing.
TEST(ProgressParse, AbsurdPositionsStillGiveACaption)
{
    const LangText lang = tw();
    const std::string huge = "Pos:" + std::string(60, '9') + "s ";
    for (float length : {0.0f, 60.0f}) {
        auto r = parseProgressChunk(huge, ToolStyle::Encoder, length);
        ASSERT_TRUE(r);
        EXPECT_FALSE(progressCaption(lang, *r).empty());
    }
    EXPECT_EQ(FormatTime(std::numeric_limits<float>::quiet_NaN(), 3, 1), "00:00:00.0");
    EXPECT_FALSE(FormatTime(std::numeric_limits<float>::infinity(), 3, 1).empty());
}
