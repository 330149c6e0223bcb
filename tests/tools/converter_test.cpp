#include "converter/asf_preroll.h"
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
    // Found by fuzzing: more hours than a long holds threw out of the plugin.
    EXPECT_EQ(rewriteConverterLine("time=123456789:00:01.5 bitrate"), "time=444444440401.5 bitrate");
    EXPECT_EQ(rewriteConverterLine("time=00040000000000000000000015:00:00 x"), "time=00040000000000000000000015:00:00 x");
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

TEST(ConverterOutput, AsfStartCountsFromThePreroll)
{
    ConverterOutputRewriter asf(3.1);
    EXPECT_EQ(asf.line("  Duration: 00:00:03.09, start: 0.000000, bitrate: 557 kb/s\n"),
              "  Duration: 00:00:03.09, start: 3.100000, bitrate: 557 kb/s\n");
    EXPECT_EQ(asf.line("Output #0, mp3, to 'x.mp3':\n"), "Output #0, mp3, to 'x.mp3':\n");
    EXPECT_EQ(asf.line("  Duration: 00:00:03.09, start: 0.000000, bitrate: N/A\n"),
              "  Duration: 00:00:03.09, start: 0.000000, bitrate: N/A\n");
    ConverterOutputRewriter other;
    EXPECT_EQ(other.line("  Duration: 00:00:03.09, start: 0.000000, bitrate: 1\n"),
              "  Duration: 00:00:03.09, start: 0.000000, bitrate: 1\n");
    EXPECT_EQ(asfPrerollSeconds("/no/such/file"), 0);
    EXPECT_EQ(converterInput({"-y", "-i", "a b.wmv", "t.mp3"}), "a b.wmv");
}
