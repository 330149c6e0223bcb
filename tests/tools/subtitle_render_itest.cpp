// Burnt-in subtitles as the encoder plugin draws them: every option of the fragment shows.
#include "app/lang_text.h"
#include "options/font_list.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qorvid::test;

namespace {

std::string q(const std::string& path) { return "\"" + path + "\""; }

// How the white text covers the grey picture: lit pixels, the edge between text and grey,
// the dark outline, and the lit rows.
struct Ink {
    int bright = 0;
    int soft = 0;
    int dark = 0;
    int top = -1, bottom = -1;
};

class SubtitleRender : public ::testing::Test {
protected:
    static constexpr int kW = 320, kH = 240;

    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<TempDir>();
        ffmpeg({"-f", "lavfi", "-i", "color=0x646464:size=320x240:rate=25:duration=4", "-f", "lavfi", "-i",
                "anullsrc=r=44100:cl=stereo", "-t", "4", "-c:v", "mpeg4", "-q:v", "2", "-c:a", "pcm_s16le",
                dir_->file("dark.avi")});
        writeFile(dir_->file("latin.srt"), "1\n00:00:01,000 --> 00:00:03,000\nHELLO WORLD\n\n");
    }
    static void TearDownTestSuite() { dir_.reset(); }

    // The DivX command line of the system with a subtitle fragment; the text's look at a time.
    Ink render(const std::string& subtitle, const std::string& options, double at = 2.0)
    {
        const std::string target = out_.file("t" + std::to_string(++count_) + ".avi");
        const std::string command = pluginPath(2) +
                                    " -noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:vbitrate=3000"
                                    " -vf-add scale=320:240 -sub " + q(subtitle) + options +
                                    " -nosound -vf-add harddup " + q(dir_->file("dark.avi")) + " -o " + q(target);
        RunResult r = runCommandLine(command);
        EXPECT_EQ(r.exitCode, 0) << command << "\n" << r.output;
        last_ = greyFrame(target, at, kW, kH);
        return inkOf(last_);
    }

    static Ink inkOf(const std::string& grey)
    {
        Ink ink;
        for (int row = 0; row < kH && grey.size() == size_t(kW * kH); ++row)
            for (int col = 0; col < kW; ++col) {
                const int v = static_cast<unsigned char>(grey[size_t(row * kW + col)]);
                if (v > 180) ++ink.bright;
                if (v > 115 && v < 170) ++ink.soft;
                if (v < 50) ++ink.dark;
                if (v > 180) {
                    if (ink.top < 0) ink.top = row;
                    ink.bottom = row;
                }
            }
        return ink;
    }

    std::string look(const std::string& more) const
    {
        return " -subfont-text-scale 6 -subfont-outline 0 -subfont-blur 0 -subpos 90 -subdelay 0" + more;
    }

    TempDir out_;
    int count_ = 0;
    std::string last_;
    static std::unique_ptr<TempDir> dir_;
};
std::unique_ptr<TempDir> SubtitleRender::dir_;

TEST_F(SubtitleRender, SizePositionOutlineBlurAndDelayEachChangeThePicture)
{
    const std::string latin = dir_->file("latin.srt");
    const Ink plain = render(latin, " -subfont-text-scale 4 -subfont-outline 0 -subfont-blur 0 -subpos 90 -subdelay 0");
    ASSERT_GT(plain.bright, 80);
    EXPECT_GT(plain.top, kH / 2); // near the bottom

    const Ink large = render(latin, " -subfont-text-scale 8 -subfont-outline 0 -subfont-blur 0 -subpos 90 -subdelay 0");
    EXPECT_GT(large.bright, plain.bright * 2);

    const Ink high = render(latin, " -subfont-text-scale 4 -subfont-outline 0 -subfont-blur 0 -subpos 40 -subdelay 0");
    EXPECT_LT(high.bottom, kH / 2 + 5);

    EXPECT_EQ(plain.dark, 0);
    const Ink outlined = render(latin, " -subfont-text-scale 4 -subfont-outline 4 -subfont-blur 0 -subpos 90 -subdelay 0");
    EXPECT_GT(outlined.dark, plain.bright);

    const Ink sharp = render(latin, look(""));
    const Ink blurred = render(latin, " -subfont-text-scale 6 -subfont-outline 0 -subfont-blur 8 -subpos 90 -subdelay 0");
    EXPECT_GT(blurred.soft, sharp.soft * 2) << "blur 8 must soften the letters' edges";

    // A delay of 2 s moves the cue from 1–3 s to 3–5 s: nothing at 2 s, the text at 3.5 s.
    EXPECT_EQ(render(latin, look(" -subdelay 2"), 2.0).bright, 0);
    EXPECT_GT(render(latin, look(" -subdelay 2"), 3.5).bright, 80);
    // An earlier subtitle: -1 s shows the cue at 0.5 s.
    EXPECT_GT(render(latin, look(" -subdelay -1"), 0.5).bright, 80);
}

// Two different Chinese lines give different pictures only when real glyphs are drawn; the
// empty boxes of a font without them all look alike.
TEST_F(SubtitleRender, ChineseInBig5AndGbkShowsGlyphsWithTheLanguagesDefaultFont)
{
    struct Case {
        const char* language;
        const char* codePage;
        std::string first, second; // the text in the code page
    } cases[] = {
        {"tw", "cp950", "\xa4\xa4\xa4\xe5\xa6\x72\xb9\xf5", "\xb4\xfa\xb8\xd5\xb5\x65\xad\xb1"},
        {"gb", "cp936", "\xd6\xd0\xce\xc4\xd7\xd6\xc4\xbb", "\x9c\x79\xd4\x87\xae\x8b\xc3\xe6"},
    };
    for (const Case& c : cases) {
        qorvid::LangText lang;
        ASSERT_TRUE(lang.load(c.language));
        const std::string font = qorvid::defaultSubtitleFont(lang);
        ASSERT_FALSE(font.empty()) << "no default font for " << c.language;
        const std::string options = look(" -font " + q(font) + " -subcp " + c.codePage);
        std::string pictures[2];
        for (int i = 0; i < 2; ++i) {
            const std::string file = dir_->file(std::string(c.language) + std::to_string(i) + ".srt");
            writeFile(file, "1\n00:00:01,000 --> 00:00:03,000\n" + (i == 0 ? c.first : c.second) + "\n\n");
            EXPECT_GT(render(file, options).bright, 150) << c.language;
            pictures[i] = last_;
        }
        EXPECT_NE(pictures[0], pictures[1]) << c.language << ": the two lines look alike (empty boxes?)";
    }
}

// Another font file draws the same text differently.
TEST_F(SubtitleRender, TheFontFileIsTheOneDrawn)
{
    const std::string latin = dir_->file("latin.srt");
    std::string pictures[2];
    const char* fonts[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                           "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf"};
    for (int i = 0; i < 2; ++i) {
        EXPECT_GT(render(latin, look(std::string(" -font ") + q(fonts[i]))).bright, 80);
        pictures[i] = last_;
    }
    EXPECT_NE(pictures[0], pictures[1]);
}

} // namespace
