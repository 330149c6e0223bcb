#include "engine/format_time.h"
#include "engine/progress_parse.h"
#include "support/lang.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qorvid;
using qorvid::test::tw;

TEST(ProgressParse, PercentAndCaptionByToolAndLength)
{
    const std::string pos = "Pos:  12.3s    369f ( 2%)  30.00fps Trem:   0min   3mb  A-V:0.000 [800:128]\r";
    const std::string time = "size=     512kB time=61.20 bitrate= 128.0kbits/s speed=40x\r";
    const struct {
        std::string chunk;
        ToolStyle style;
        float length, percent;
        const char* caption; // "" when not checked
    } cases[] = {
        // Whole percents up to 1800 s for the encoder and 3600 s for the converter, then one decimal.
        {pos, ToolStyle::Encoder, 600, 2.0f, "處理進度 2 % -->  轉到 12.3 秒"},
        {pos, ToolStyle::Encoder, 6000, 0.2f, "處理進度 0.2 % -->  轉到 12.3 秒"},
        {time, ToolStyle::Converter, 3600, 1.0f, ""},
        {time, ToolStyle::Converter, 3601, 1.7f, "處理進度 1.7 % -->  轉到 01:01.2 秒"},
        // Clamped, and never the end while the tool runs.
        {"Pos: 15.0s ", ToolStyle::Encoder, 10, 99.9f, ""},
        {"Pos: -3.0s ", ToolStyle::Encoder, 10, 0.0f, ""},
        {"Pos: 1.0s ", ToolStyle::Encoder, 0, 99.9f, ""},
        {"time=1.0 bitrate", ToolStyle::Converter, 0, 99.9f, ""},
        {"Pos: 10.0s 1f\rPos: 50.0s 2f\r", ToolStyle::Encoder, 100, 10.0f, ""}, // the first marker counts
    };
    for (const auto& c : cases) {
        auto r = parseProgressChunk(c.chunk, c.style, c.length);
        ASSERT_TRUE(r) << c.chunk;
        EXPECT_FLOAT_EQ(r->percent, c.percent) << c.chunk << " " << c.length;
        if (*c.caption) { EXPECT_EQ(progressCaption(tw(), *r), c.caption); }
    }
    for (const char* unreadable : {"no marker at all 12s here", "Pos: abcs ", "Pos: 12.0", "frames Pos: 12.0s "})
        EXPECT_FALSE(parseProgressChunk(unreadable, ToolStyle::Encoder, 100)) << unreadable;
    EXPECT_FALSE(parseProgressChunk("Pos: 12.0s ", ToolStyle::Converter, 100));
}

TEST(ProgressParse, ToolStyleComesFromTheCommandLine)
{
    EXPECT_EQ(toolStyleOf("/opt/q/plugins/ZevraRes3.dll -y -i \"a.avi\""), ToolStyle::Converter);
    EXPECT_EQ(toolStyleOf("/opt/q/plugins/zevrares3.exe"), ToolStyle::Encoder); // case-sensitive
}

TEST(FormatTime, WritesTheFieldsAsked)
{
    const struct {
        float t;
        int fields, decimals;
        const char* text;
    } cases[] = {{3725.0f, 1, 1, "01:02:05.0"}, {-4.0f, 3, 1, "00:00:00.0"}, {65.9f, 3, 0, "00:01:05"}}; // cut, not rounded
    for (const auto& c : cases) EXPECT_EQ(FormatTime(c.t, c.fields, c.decimals), c.text) << c.t;
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
