// Subtitles burnt in by `qorvid-cli convert --sub`: where and when the text changes the picture.
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace qorvid::test;

namespace {

constexpr int kW = 160, kH = 120;

class SubtitleCli : public MediaSuite<SubtitleCli> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        makeMedia(dir->file("grey.avi"), "color=0x808080:size=320x240:rate=25:duration=5",
                  "sine=sample_rate=44100:duration=5", {"-c:v", "mpeg4", "-q:v", "2", "-c:a", "libmp3lame"});
        writeFile(dir->file("latin.srt"), "1\n00:00:02,000 --> 00:00:04,500\nHELLO WORLD\n");
        plain_ = convert({}, "plain.avi");
    }

    // The DivX conversion of the grey clip with the options; the target's path.
    static std::string convert(std::vector<std::string> options, const std::string& name, const char* lang = "tw")
    {
        const std::string target = dir->file(name);
        std::vector<std::string> argv{buildDir() + "qorvid-cli", "convert", dir->file("grey.avi"), "--to", "divx",
                                      "--lang", lang, "--yes", "--out", target};
        argv.insert(argv.end(), options.begin(), options.end());
        RunResult r = runProgram(argv);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return target;
    }

    // The rows where the picture differs from the one without subtitles: first, last and count
    // of changed pixels.
    struct Band {
        int top = -1, bottom = -1, pixels = 0;
    };
    static Band changed(const std::string& target, double at)
    {
        const std::string a = greyFrame(plain_, at, kW, kH), b = greyFrame(target, at, kW, kH);
        Band band;
        if (a.size() != b.size() || a.empty()) return band;
        for (int row = 0; row < kH; ++row)
            for (int col = 0; col < kW; ++col) {
                const size_t i = static_cast<size_t>(row * kW + col);
                if (std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i])) <= 40) continue;
                if (band.top < 0) band.top = row;
                band.bottom = row;
                ++band.pixels;
            }
        return band;
    }
    // The first of the times a tenth apart whose picture carries the text.
    static double firstChanged(const std::string& target)
    {
        for (int tenth = 0; tenth < 45; ++tenth)
            if (changed(target, tenth / 10.0).pixels > 20) return tenth / 10.0;
        return -1;
    }

    static inline std::string plain_;
};

// The box's delay is written negated, and the encoder shows a negative -subdelay earlier: a
// delay of 1.5 brings the text 1.5 s forward.
TEST_F(SubtitleCli, TheTextChangesOnlyItsBandWhichSizePositionAndDelayMove)
{
    const std::string subs = dir->file("latin.srt");
    const std::string lowTarget = convert({"--sub", subs}, "low.avi");
    const Band low = changed(lowTarget, 3.0);
    ASSERT_GT(low.pixels, 20);
    EXPECT_GT(low.top, kH * 3 / 4) << "5 % from the bottom";
    EXPECT_EQ(changed(lowTarget, 0.5).pixels, 0) << "nothing before the cue";

    const Band middle = changed(convert({"--sub", subs, "--sub-pos", "50"}, "middle.avi"), 3.0);
    EXPECT_GT(middle.top, kH / 4);
    EXPECT_LT(middle.bottom, kH * 3 / 4);

    const Band large = changed(convert({"--sub", subs, "--sub-size", "8"}, "large.avi"), 3.0);
    EXPECT_GT(large.bottom - large.top, (low.bottom - low.top) * 3 / 2);
    EXPECT_GT(large.pixels, low.pixels * 2);

    const double onTime = firstChanged(lowTarget);
    const double moved = firstChanged(convert({"--sub", subs, "--sub-delay", "1.5"}, "moved.avi"));
    ASSERT_GT(onTime, 1.5);
    ASSERT_GE(moved, 0);
    EXPECT_NEAR(onTime - moved, 1.5, 0.15);
}

TEST_F(SubtitleCli, Big5AndGbkTextDrawsGlyphsWithTheLanguagesDefaultFont)
{
    struct Case {
        const char* lang;
        const char* codePage;
        std::string text; // 中文字幕
    } cases[] = {{"tw", "cp950", "\xa4\xa4\xa4\xe5\xa6\x72\xb9\xf5"}, {"gb", "cp936", "\xd6\xd0\xce\xc4\xd7\xd6\xc4\xbb"}};
    for (const Case& c : cases) {
        const std::string subs = dir->file(std::string(c.lang) + ".srt");
        writeFile(subs, "1\n00:00:01,000 --> 00:00:04,000\n" + c.text + "\n");
        const Band band = changed(convert({"--sub", subs, "--sub-cp", c.codePage}, std::string(c.lang) + ".avi", c.lang), 2.0);
        // Four characters of many strokes: far more ink than four empty boxes would leave.
        EXPECT_GT(band.pixels, 150) << c.lang;
        EXPECT_GT(band.top, kH / 2) << c.lang;
    }
}

} // namespace
