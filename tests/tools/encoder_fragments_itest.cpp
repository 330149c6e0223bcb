// What the options of `qorvid-cli convert` do to the picture and the sound, checked on the
// encoder's output, burnt-in subtitles among them: every subtitle option shows in the picture.
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace qorvid::test;

namespace {

std::string sizeOf(const std::string& file) { return ffprobeValue(file, "v:0", "width") + "x" + ffprobeValue(file, "v:0", "height"); }

constexpr int kW = 320, kH = 240;

// How the white text covers the grey picture: lit pixels, the edge between text and grey,
// the dark outline, and the lit rows.
struct Ink {
    int bright = 0, soft = 0, dark = 0, top = -1, bottom = -1;
};

Ink inkOf(const std::string& grey)
{
    Ink ink;
    for (int row = 0; row < kH && grey.size() == size_t(kW * kH); ++row)
        for (int col = 0; col < kW; ++col) {
            const int v = static_cast<unsigned char>(grey[size_t(row * kW + col)]);
            if (v > 115 && v < 170) ++ink.soft;
            if (v < 50) ++ink.dark;
            if (v > 180) {
                ++ink.bright;
                if (ink.top < 0) ink.top = row;
                ink.bottom = row;
            }
        }
    return ink;
}

class EncoderFragments : public MediaSuite<EncoderFragments> {
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
        makeMedia(dir->file("grey.avi"), "color=0x646464:size=320x240:rate=25:duration=4", "anullsrc=r=44100:cl=stereo",
                  {"-t", "4", "-c:v", "mpeg4", "-q:v", "2", "-c:a", "pcm_s16le"});
        // A name with the characters a filter argument must escape.
        writeFile(dir->file("it's, a: [test].srt"), "1\n00:00:01,000 --> 00:00:03,000\nHELLO WORLD\n\n");
    }

    // qorvid-cli's DivX conversion of the source with the options; the target's path.
    std::string convert(const std::string& source, std::vector<std::string> options, const char* lang = "tw")
    {
        const std::string target = out_.file("t" + std::to_string(++count_) + ".avi");
        options.insert(options.begin(), {buildDir() + "qorvid-cli", "convert", dir->file(source), "--to", "divx", "--lang", lang,
                                         "--yes", "--out", target});
        RunResult r = runProgram(options);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return target;
    }

    static int brightestCell(const std::string& grey)
    {
        if (grey.size() != 24) return -1;
        return static_cast<int>(std::max_element(grey.begin(), grey.end(),
                                                 [](char a, char b) { return (unsigned char)a < (unsigned char)b; }) -
                                grey.begin());
    }

    TempDir out_;
    int count_ = 0;
};

} // namespace

// Borders, crops, flips and rotations: the size, and where the white corner ends up.
TEST_F(EncoderFragments, FramesCropsAndTurnsGiveTheSizeAndCornerMPlayerGives)
{
    struct Case {
        std::vector<std::string> options;
        std::string size;
        int cell; // of a 6x4 grid: 0 top-left, 5 top-right, 18 bottom-left, 23 bottom-right; -1 unchecked
    };
    const Case cases[] = {
        {{"--size", "64x40", "--borders", "4,4,0,0"}, "64x48", -1},
        {{"--borders", "0,0,16,16"}, "96x48", 1}, // the picture sits 16 pixels in: the block in the second column
        {{"--crop", "0,0,32,24"}, "32x24", 0},
        {{}, "64x48", 0},
        {{"--rotate", "1"}, "64x48", 5},  // mirrored
        {{"--rotate", "2"}, "64x48", 18}, // flipped
        {{"--rotate", "3"}, "64x48", 23}, // both
        {{"--rotate", "4"}, "48x64", 5},  // turned clockwise
        {{"--rotate", "5"}, "48x64", 0},  // clockwise and mirrored
        {{"--rotate", "6"}, "48x64", 18}, // anticlockwise
        {{"--rotate", "7"}, "48x64", 23}, // anticlockwise and mirrored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.options));
        const std::string out = convert("corner.avi", c.options), grey = greyFrame(out, 0.5, 6, 4);
        EXPECT_EQ(sizeOf(out), c.size);
        if (c.cell >= 0) { EXPECT_EQ(brightestCell(grey), c.cell); }
        if (c.cell > 0) { EXPECT_LT((unsigned char)grey[0], 40) << "the top-left corner stays dark"; }
    }
}

TEST_F(EncoderFragments, BrightnessSoundOffVolumeAndDelay)
{
    std::string plain = convert("corner.avi", {});
    std::string brighter = convert("corner.avi", {"--brightness", "30"});
    EXPECT_GT((unsigned char)greyFrame(brighter, 0.5, 1, 1)[0], (unsigned char)greyFrame(plain, 0.5, 1, 1)[0] + 40);

    MediaFacts silent = probeFacts(convert("corner.avi", {"--no-audio"}));
    EXPECT_TRUE(silent.audio.empty());
    EXPECT_FALSE(silent.video.empty());

    EXPECT_NEAR(meanVolume(convert("corner.avi", {"--volume", "6"})) - meanVolume(plain), 6.0, 0.5);

    double base = firstSoundStart(convert("beep.avi", {}));
    ASSERT_GT(base, 0.5);
    // The box's delay is written negated: a positive delay makes the sound late, a negative one early.
    double late = firstSoundStart(convert("beep.avi", {"--audio-delay", "0.5"}));
    double early = firstSoundStart(convert("beep.avi", {"--audio-delay", "-0.5"}));
    EXPECT_NEAR(late - base, 0.5, 0.05);
    EXPECT_NEAR(base - early, 0.5, 0.05);
}

// The same line in a code page of the language, given to qorvid-cli in the language with --sub-cp,
// draws the same picture as in UTF-8 with the language's default font, and another line a different
// one. Each code page's decoding, UTF-16 among them, is SubtitleText's.
TEST_F(EncoderFragments, ChineseSubtitlesInEveryCodePageShowTheSameGlyphsWithTheLanguagesDefaultFont)
{
    struct Case {
        const char* language;
        std::string utf8, other, codePage, encoded; // encoded: the line of utf8 in the code page
    } cases[] = {
        {"tw", "中文字幕", "測試畫面", "cp950", "\xa4\xa4\xa4\xe5\xa6\x72\xb9\xf5"},
        {"gb", "中文字幕", "测试画面", "cp936", "\xd6\xd0\xce\xc4\xd7\xd6\xc4\xbb"},
    };
    for (const Case& c : cases) {
        auto picture = [&](const std::string& line, const std::string& codePage) {
            const std::string file = dir->file(std::string(c.language) + codePage + ".srt");
            writeFile(file, "1\n00:00:01,000 --> 00:00:03,000\n" + line + "\n");
            std::vector<std::string> options = {"--sub", file};
            if (!codePage.empty()) options.insert(options.end(), {"--sub-cp", codePage});
            const std::string grey = greyFrame(convert("grey.avi", options, c.language), 2.0, kW, kH);
            EXPECT_GT(inkOf(grey).bright, 40) << c.language << " " << codePage;
            return grey;
        };
        const std::string reference = picture(c.utf8, "");
        EXPECT_TRUE(picture(c.other, "") != reference) << c.language << ": two lines look alike";
        EXPECT_TRUE(picture(c.encoded, c.codePage) == reference) << c.language << " " << c.codePage;
    }
}

// Every subtitle option of qorvid-cli shows in the picture. The box's delay is written negated,
// and the encoder shows a negative -subdelay earlier: a delay of 1.5 brings the text 1.5 s forward.
TEST_F(EncoderFragments, EverySubtitleOptionChangesThePicture)
{
    const std::string subs = dir->file("it's, a: [test].srt");
    // The picture at 2 s of the conversion with these subtitle options.
    auto pictureWith = [&](std::vector<std::string> options) {
        options.insert(options.begin(), {"--sub", subs});
        return greyFrame(convert("grey.avi", options), 2.0, kW, kH);
    };
    auto inkWith = [&](const std::vector<std::string>& options) { return inkOf(pictureWith(options)); };
    const std::string lowTarget = convert("grey.avi", {"--sub", subs});
    const Ink low = inkOf(greyFrame(lowTarget, 2.0, kW, kH));
    ASSERT_GT(low.bright, 40);
    EXPECT_GT(low.top, kH * 3 / 4) << "5 % from the bottom";
    EXPECT_EQ(inkOf(greyFrame(lowTarget, 0.5, kW, kH)).bright, 0) << "nothing before the cue";

    const Ink middle = inkWith({"--sub-pos", "50"});
    EXPECT_GT(middle.top, kH / 4);
    EXPECT_LT(middle.bottom, kH * 3 / 4);
    const Ink large = inkWith({"--sub-size", "8"});
    EXPECT_GT(large.bottom - large.top, (low.bottom - low.top) * 3 / 2);
    EXPECT_GT(large.bright, low.bright * 2);

    // Without outline or blur the letters are white on grey; an outline is dark, a blur softens.
    const Ink bare = inkWith({"--sub-outline", "0", "--sub-blur", "0"});
    EXPECT_EQ(bare.dark, 0);
    EXPECT_GT(inkWith({"--sub-outline", "4", "--sub-blur", "0"}).dark, bare.bright);
    EXPECT_GT(inkWith({"--sub-outline", "0", "--sub-blur", "8"}).soft, bare.soft * 2) << "blur 8 must soften the letters' edges";

    // Another font file draws the same text differently.
    const std::string sans = pictureWith({"--sub-font", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"});
    const std::string serif = pictureWith({"--sub-font", "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"});
    EXPECT_GT(inkOf(sans).bright, 40);
    EXPECT_GT(inkOf(serif).bright, 40);
    EXPECT_TRUE(sans != serif);

    // A delay of -2 s moves the cue from 1-3 s to 3-5 s: nothing at 2 s, the text at 3.5 s.
    const std::string late = convert("grey.avi", {"--sub", subs, "--sub-delay", "-2"});
    EXPECT_EQ(inkOf(greyFrame(late, 2.0, kW, kH)).bright, 0);
    EXPECT_GT(inkOf(greyFrame(late, 3.5, kW, kH)).bright, 40);
    // The first tenth from the time on whose picture no longer carries the text.
    auto textGone = [&](const std::string& target, double from) {
        for (int tenth = 0; tenth < 15; ++tenth)
            if (inkOf(greyFrame(target, from + tenth / 10.0, kW, kH)).bright == 0) return from + tenth / 10.0;
        return -1.0;
    };
    const double moved = textGone(convert("grey.avi", {"--sub", subs, "--sub-delay", "1.5"}), 1.0);
    ASSERT_GT(moved, 1.0);
    EXPECT_NEAR(textGone(lowTarget, 2.5) - moved, 1.5, 0.15);
}
