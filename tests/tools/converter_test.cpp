#include "converter/converter_arguments.h"
#include "converter/converter_output.h"

#include <gtest/gtest.h>

using namespace qorvid::tools;

TEST(ConverterOutput, ProgressTimeIsWrittenInSeconds)
{
    EXPECT_EQ(rewriteConverterLine("size=     256kB time=00:01:01.20 bitrate= 128.5kbits/s speed=32x\r"),
              "size=     256kB time=61.20 bitrate= 128.5kbits/s speed=32x\r");
    EXPECT_EQ(rewriteConverterLine("time=01:00:00.5 bitrate"), "time=3600.5 bitrate");
    EXPECT_EQ(rewriteConverterLine("time=-00:00:00.02 bitrate"), "time=-0.02 bitrate");
    EXPECT_EQ(rewriteConverterLine("time=N/A bitrate=N/A"), "time=N/A bitrate=N/A");
}

TEST(ConverterOutput, FrameRateItemUsesTheOlderForm)
{
    EXPECT_EQ(rewriteConverterLine("  Stream #0:0: Video: wmv2, yuv420p, 320x240, 25 fps, 25 tbr, 1k tbn\n"),
              "  Stream #0:0: Video: wmv2, yuv420p, 320x240, 25 fps, 25 tb(r), 1k tbn\n");
    EXPECT_EQ(rewriteConverterLine("29.97 tbr\n"), "29.97 tb(r)\n");
    EXPECT_EQ(rewriteConverterLine("title : tbrx tbr2\n"), "title : tbrx tbr2\n");
}

TEST(ConverterArguments, OldEncoderNamesAndVolumeAreTranslated)
{
    std::vector<std::string> in = {"-y", "-i", "s.avi", "-f", "mp4", "-acodec", "libfaac", "-vn",
                                   "-ab", "64000", "-ac", "2", "-ar", "44100", "-vol", "316", "t.mp4"};
    std::vector<std::string> out = {"-y", "-i", "s.avi", "-f", "mp4", "-acodec", "aac", "-vn",
                                    "-ab", "64000", "-ac", "2", "-ar", "44100", "-af",
                                    "volume=1.23438", "t.mp4"};
    EXPECT_EQ(converterArguments(in), out);
    EXPECT_EQ(converterArguments({"-acodec", "vorbis", "x.ogg"})[1], "libvorbis");
    auto merged = converterArguments({"-i", "s", "-af", "atrim=0:1", "-vol", "0", "t.wav"});
    EXPECT_EQ(merged, (std::vector<std::string>{"-i", "s", "-af", "atrim=0:1,volume=0", "t.wav"}));
}

TEST(ConverterArguments, TargetIsTheLastFileNameButNotAProbedInput)
{
    EXPECT_EQ(converterTarget({"-y", "-i", "a b.avi", "-vn", "-ab", "64000", "/t/x y.mp3"}), "/t/x y.mp3");
    EXPECT_EQ(converterTarget({"-i", "a.avi"}), "");
    EXPECT_EQ(converterTarget({"-i", "a.avi", "-vn", "out.wav"}), "out.wav");
    EXPECT_EQ(converterTarget({"-i", "a.avi", "-f", "null", "-"}), "");
}
