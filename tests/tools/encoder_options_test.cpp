#include "encoder/encode_options.h"
#include "encoder/progress.h"

#include <gtest/gtest.h>

using namespace qorvid::tools;

TEST(EncoderOptions, SystemCommandLineIsUnderstood)
{
    auto p = parseEncoderArguments(
        {"-noodml", "-ofps", "30000/1001", "-ovc", "lavc", "-ffourcc", "DX50", "-lavcopts",
         "vcodec=mpeg4:keyint=27:vbitrate=800", "-oac", "mp3lame", "-lameopts", "cbr:br=64",
         "-ss", "00:00:10.0", "-endpos", "00:00:30.0", "-vf-add", "scale=352:288,expand=384:288:16:0:1",
         "-vf-add", "rotate=1", "-delay", "-0.5", "-channels", "2", "-srate", "44100", "-af-add",
         "channels=2", "-af-add", "volume=6", "-sub", "/x/a b.srt", "-subpos", "90", "-subdelay", "-2",
         "-vf-add", "harddup", "-mc", "1", "/src/in put.avi", "-o", "/dst/out.avi"});
    ASSERT_EQ(p.error, "");
    const auto& o = p.options;
    EXPECT_EQ(o.source, "/src/in put.avi");
    EXPECT_EQ(o.target, "/dst/out.avi");
    EXPECT_EQ(o.fourcc, "DX50");
    EXPECT_DOUBLE_EQ(*o.start, 10.0);
    EXPECT_DOUBLE_EQ(*o.length, 30.0);
    ASSERT_EQ(o.videoFilters.size(), 4u);
    EXPECT_EQ(o.videoFilters[1].name, "expand");
    EXPECT_EQ(o.videoFilters[1].params, (std::vector<std::string>{"384", "288", "16", "0", "1"}));
    EXPECT_EQ(o.videoFilters[3].name, "harddup");
    EXPECT_DOUBLE_EQ(o.audioDelay, -0.5);
    EXPECT_EQ(o.audioFilters.size(), 2u);
    EXPECT_EQ(o.subtitles.file, "/x/a b.srt");
    EXPECT_DOUBLE_EQ(o.subtitles.delay, -2);
    EXPECT_EQ(findSubOption(o.lameOptions, "br")->value, "64");
    EXPECT_TRUE(findSubOption(o.lameOptions, "cbr"));
}

TEST(EncoderOptions, BadCommandLinesAreRefusedWithTheReason)
{
    EXPECT_EQ(parseEncoderArguments({"-frobnicate", "a.avi", "-o", "b.avi"}).error,
              "unknown option -frobnicate");
    EXPECT_EQ(parseEncoderArguments({"a.avi", "-o"}).error, "option -o needs a value");
    EXPECT_EQ(parseEncoderArguments({"a.avi"}).error, "no target file given (-o)");
    EXPECT_EQ(parseEncoderArguments({"-o", "b.avi"}).error, "no source file given");
    EXPECT_NE(parseEncoderArguments({"-ss", "soon", "a.avi", "-o", "b"}).error, "");
    EXPECT_NE(parseEncoderArguments({"-srate", "44.1", "a.avi", "-o", "b"}).error, "");
    // Found by fuzzing: a whole number beyond int was converted anyway.
    EXPECT_NE(parseEncoderArguments({"-srate", "5555555555555", "a.avi", "-o", "b"}).error, "");
    EXPECT_NE(parseEncoderArguments({"-channels", "4294967298", "a.avi", "-o", "b"}).error, "");
}

TEST(EncoderOptions, TimesInAllForms)
{
    EXPECT_DOUBLE_EQ(*parseTime("01:02:03.5"), 3723.5);
    EXPECT_DOUBLE_EQ(*parseTime("02:03.5"), 123.5);
    EXPECT_DOUBLE_EQ(*parseTime("7.25"), 7.25);
    EXPECT_FALSE(parseTime("10mb"));
    EXPECT_FALSE(parseTime("1:2:3:4"));
}

// The runner reads the value between "Pos:" and the first "s " of what it read.
TEST(EncoderProgress, PositionLineReadsAsTheRunnerParsesIt)
{
    PositionFigures f;
    f.seconds = 12.34;
    f.frames = 308;
    f.expectedSeconds = 30;
    f.elapsedSeconds = 2;
    std::string line = positionLine(f);
    ASSERT_EQ(line.rfind("Pos:", 0), 0u);
    EXPECT_EQ(line.back(), '\r');
    size_t end = line.find("s ");
    EXPECT_EQ(std::stod(line.substr(4, end - 4)), 12.3);
    EXPECT_NE(line.find("308f"), std::string::npos);
    EXPECT_NE(line.find("(41%)"), std::string::npos);

    // A first report a millionth into a long job, or a size near the top of its type: the
    // estimates are held to what the line's integers can show.
    for (auto [seconds, bytes] : {std::pair{1e-6, 1000LL}, std::pair{0.5, 9000000000000000000LL}}) {
        PositionFigures absurd{seconds, 1, 36000, 1e6, bytes};
        EXPECT_EQ(positionLine(absurd).rfind("Pos:", 0), 0u);
    }

    ProgressReport r;
    EXPECT_FALSE(r.line("frame=75\n"));
    EXPECT_FALSE(r.line("out_time_us=3000000\n"));
    EXPECT_FALSE(r.line("out_time_us=N/A\n"));
    EXPECT_TRUE(r.line("progress=end\n"));
    EXPECT_EQ(r.frames(), 75);
    EXPECT_DOUBLE_EQ(r.seconds(), 3.0);
    EXPECT_TRUE(r.ended());
}
