// What the option fragments do to the picture and the sound, checked on the encoder's output.
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace qorvid::test;

namespace {

std::string q(const std::string& path) { return "\"" + path + "\""; }

class EncoderEdges : public MediaSuite<EncoderEdges> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        // A black picture with a white block in its top-left corner, and a quiet tone.
        makeMedia(dir->file("corner.avi"), "color=black:size=64x48:rate=25:duration=2,drawbox=x=0:y=0:w=16:h=12:color=white:t=fill",
                  "sine=frequency=440:sample_rate=44100:duration=2,volume=0.1", {"-c:v", "mpeg4", "-q:v", "2", "-c:a", "pcm_s16le"});
        // Silence with a short beep at 1.0 s.
        makeMedia(dir->file("beep.avi"), "color=gray:size=64x48:rate=25:duration=3",
                  "aevalsrc='if(between(t,1,1.2),0.5*sin(2*PI*1000*t),0)':s=44100:d=3", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"});
        makeMedia(dir->file("dark.avi"), "color=black:size=320x240:rate=25:duration=3", "anullsrc=r=44100:cl=stereo",
                  {"-t", "3", "-c:v", "mpeg4", "-q:v", "2", "-c:a", "pcm_s16le"});
    }

    // The DivX command line of the system with the given fragments.
    std::string encode(const std::string& source, const std::string& fragments, const std::string& name)
    {
        std::string target = out_.file(name);
        std::string command = pluginPath(2) + " -noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=3000"
                              " -oac mp3lame -lameopts cbr:br=128" + fragments +
                              " -vf-add harddup -mc 1 " + q(dir->file(source)) + " -o " + q(target);
        RunResult r = runCommandLine(command);
        EXPECT_EQ(r.exitCode, 0) << command << "\n" << r.output;
        return target;
    }

    static int brightestCell(const std::string& file)
    {
        std::string grey = greyFrame(file, 0.5, 4, 4);
        if (grey.size() != 16) return -1;
        return static_cast<int>(std::max_element(grey.begin(), grey.end(),
                                                 [](char a, char b) { return (unsigned char)a < (unsigned char)b; }) -
                                grey.begin());
    }

    TempDir out_;
};

const std::string sound = " -delay 0 -channels 2 -srate 44100 -af-add channels=2";

} // namespace

TEST_F(EncoderEdges, BordersAndCropGiveTheirSizes)
{
    std::string fixedFrame = encode("corner.avi", " -vf-add scale=64:40,expand=64:48:0:4:1" + sound, "fixed.avi");
    EXPECT_EQ(ffprobeValue(fixedFrame, "v:0", "width") + "x" + ffprobeValue(fixedFrame, "v:0", "height"), "64x48");
    std::string wider = encode("corner.avi", " -vf-add scale=64:48,expand=96:48:16:0:1" + sound, "wider.avi");
    EXPECT_EQ(ffprobeValue(wider, "v:0", "width") + "x" + ffprobeValue(wider, "v:0", "height"), "96x48");
    // The picture sits 16 pixels in: the block is in the second of six columns.
    std::string grey = greyFrame(wider, 0.5, 6, 4);
    ASSERT_EQ(grey.size(), 24u);
    EXPECT_LT((unsigned char)grey[0], 40);
    EXPECT_GT((unsigned char)grey[1], 150);
    std::string cropped = encode("corner.avi", " -vf-add scale=64:48 -vf-add crop=32:24:0:0" + sound, "crop.avi");
    EXPECT_EQ(ffprobeValue(cropped, "v:0", "width") + "x" + ffprobeValue(cropped, "v:0", "height"), "32x24");
    EXPECT_EQ(brightestCell(cropped), 0);
}

TEST_F(EncoderEdges, FlipsAndRotationsMoveTheCornerWhereMPlayerPutsIt)
{
    struct Case {
        std::string fragment;
        int cell; // of a 4x4 grid: 0 top-left, 3 top-right, 12 bottom-left, 15 bottom-right
        std::string size;
    };
    const Case cases[] = {
        {"", 0, "64x48"},
        {" -vf-add mirror", 3, "64x48"},
        {" -vf-add flip", 12, "64x48"},
        {" -vf-add flip,mirror", 15, "64x48"},
        {" -vf-add rotate=0", 0, "48x64"},  // turned clockwise and mirrored
        {" -vf-add rotate=1", 3, "48x64"},  // clockwise
        {" -vf-add rotate=2", 12, "48x64"}, // anticlockwise
        {" -vf-add rotate=3", 15, "48x64"}, // anticlockwise and mirrored
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fragment);
        std::string out = encode("corner.avi", " -vf-add scale=64:48" + c.fragment + sound, "turn" + std::to_string(n++) + ".avi");
        EXPECT_EQ(ffprobeValue(out, "v:0", "width") + "x" + ffprobeValue(out, "v:0", "height"), c.size);
        EXPECT_EQ(brightestCell(out), c.cell);
    }
}

TEST_F(EncoderEdges, BrightnessRaisesTheMeanLuma)
{
    std::string plain = encode("corner.avi", sound, "plain.avi");
    std::string brighter = encode("corner.avi", " -vf-add eq=30:0" + sound, "bright.avi");
    int before = (unsigned char)greyFrame(plain, 0.5, 1, 1)[0];
    int after = (unsigned char)greyFrame(brighter, 0.5, 1, 1)[0];
    EXPECT_GT(after, before + 40);
}

TEST_F(EncoderEdges, SoundOffVolumeAndDelay)
{
    std::string silent = encode("corner.avi", " -nosound", "nosound.avi");
    EXPECT_TRUE(probeFacts(silent).audio.empty());
    EXPECT_FALSE(probeFacts(silent).video.empty());

    std::string plain = encode("corner.avi", sound, "level0.avi");
    std::string louder = encode("corner.avi", sound + " -af-add volume=6", "level6.avi");
    EXPECT_NEAR(meanVolume(louder) - meanVolume(plain), 6.0, 0.5);

    double base = firstSoundStart(encode("beep.avi", sound, "beep0.avi"));
    ASSERT_GT(base, 0.5);
    // A negative delay makes the sound late, a positive one early.
    double late = firstSoundStart(encode("beep.avi", " -delay -0.5 -channels 2 -srate 44100 -af-add channels=2", "late.avi"));
    double early = firstSoundStart(encode("beep.avi", " -delay 0.5 -channels 2 -srate 44100 -af-add channels=2", "early.avi"));
    EXPECT_NEAR(late - base, 0.5, 0.05);
    EXPECT_NEAR(base - early, 0.5, 0.05);
}

TEST_F(EncoderEdges, SubtitleCueShowsInTheLowerPartDuringTheCueOnly)
{
    std::string subs = dir->file("it's, a: [test].srt");
    writeFile(subs, "1\n00:00:01,000 --> 00:00:02,000\nHELLO WORLD\n\n");
    std::string fragment = " -sub " + q(subs) + " -subfont-text-scale 8 -subfont-outline 2 -subfont-blur 2 -subpos 90 -subdelay 0";
    std::string out = encode("dark.avi", " -vf-add scale=320:240" + fragment + sound, "subs.avi");
    auto brightPixels = [&](double t, int fromRow, int toRow) {
        std::string grey = greyFrame(out, t, 160, 120);
        int n = 0;
        for (int row = fromRow; row < toRow && !grey.empty(); ++row)
            for (int col = 0; col < 160; ++col) n += (unsigned char)grey[row * 160 + col] > 180;
        return n;
    };
    EXPECT_GT(brightPixels(1.5, 80, 120), 20);
    EXPECT_EQ(brightPixels(1.5, 0, 60), 0);
    EXPECT_EQ(brightPixels(0.5, 0, 120), 0);
    EXPECT_EQ(brightPixels(2.5, 0, 120), 0);
}
