// What the option fragments do to the picture and the sound, checked on the encoder's output.
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace qorvid::test;

namespace {

std::string q(const std::string& path) { return "\"" + path + "\""; }

const std::string sound = " -delay 0 -channels 2 -srate 44100 -af-add channels=2";

std::string sizeOf(const std::string& file) { return ffprobeValue(file, "v:0", "width") + "x" + ffprobeValue(file, "v:0", "height"); }

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
    }

    // The DivX command line of the system with the given fragments.
    std::string encode(const std::string& source, const std::string& fragments)
    {
        std::string target = out_.file("t" + std::to_string(++count_) + ".avi");
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
    int count_ = 0;
};

} // namespace

// Borders, crops, flips and rotations: the size, and where the white corner ends up.
TEST_F(EncoderEdges, FramesCropsAndTurnsGiveTheSizeAndCornerMPlayerGives)
{
    struct Case {
        std::string fragment;
        std::string size;
        int cell; // of a 4x4 grid: 0 top-left, 3 top-right, 12 bottom-left, 15 bottom-right; -1 unchecked
    };
    const Case cases[] = {
        {" -vf-add scale=64:40,expand=64:48:0:4:1", "64x48", -1},
        {" -vf-add scale=64:48 -vf-add crop=32:24:0:0", "32x24", 0},
        {" -vf-add scale=64:48", "64x48", 0},
        {" -vf-add scale=64:48 -vf-add mirror", "64x48", 3},
        {" -vf-add scale=64:48 -vf-add flip", "64x48", 12},
        {" -vf-add scale=64:48 -vf-add flip,mirror", "64x48", 15},
        {" -vf-add scale=64:48 -vf-add rotate=0", "48x64", 0},  // turned clockwise and mirrored
        {" -vf-add scale=64:48 -vf-add rotate=1", "48x64", 3},  // clockwise
        {" -vf-add scale=64:48 -vf-add rotate=2", "48x64", 12}, // anticlockwise
        {" -vf-add scale=64:48 -vf-add rotate=3", "48x64", 15}, // anticlockwise and mirrored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fragment);
        std::string out = encode("corner.avi", c.fragment + sound);
        EXPECT_EQ(sizeOf(out), c.size);
        if (c.cell >= 0) { EXPECT_EQ(brightestCell(out), c.cell); }
    }
    std::string wider = encode("corner.avi", " -vf-add scale=64:48,expand=96:48:16:0:1" + sound);
    EXPECT_EQ(sizeOf(wider), "96x48");
    // The picture sits 16 pixels in: the block is in the second of six columns.
    std::string grey = greyFrame(wider, 0.5, 6, 4);
    ASSERT_EQ(grey.size(), 24u);
    EXPECT_LT((unsigned char)grey[0], 40);
    EXPECT_GT((unsigned char)grey[1], 150);
}

TEST_F(EncoderEdges, BrightnessSoundOffVolumeAndDelay)
{
    std::string plain = encode("corner.avi", sound);
    std::string brighter = encode("corner.avi", " -vf-add eq=30:0" + sound);
    EXPECT_GT((unsigned char)greyFrame(brighter, 0.5, 1, 1)[0], (unsigned char)greyFrame(plain, 0.5, 1, 1)[0] + 40);

    MediaFacts silent = probeFacts(encode("corner.avi", " -nosound"));
    EXPECT_TRUE(silent.audio.empty());
    EXPECT_FALSE(silent.video.empty());

    EXPECT_NEAR(meanVolume(encode("corner.avi", sound + " -af-add volume=6")) - meanVolume(plain), 6.0, 0.5);

    double base = firstSoundStart(encode("beep.avi", sound));
    ASSERT_GT(base, 0.5);
    // A negative delay makes the sound late, a positive one early.
    double late = firstSoundStart(encode("beep.avi", " -delay -0.5 -channels 2 -srate 44100 -af-add channels=2"));
    double early = firstSoundStart(encode("beep.avi", " -delay 0.5 -channels 2 -srate 44100 -af-add channels=2"));
    EXPECT_NEAR(late - base, 0.5, 0.05);
    EXPECT_NEAR(base - early, 0.5, 0.05);
}
