// Options set in the window give the command line that the same options give to
// `qorvid-cli convert --dry-run`; the subtitle page's font list and file checks.
#include "tests/gui/options_fixture.h"

#include "media/format_catalog.h"
#include "options/font_list.h"

namespace qorvid::test {
namespace {

using OptionsCliTest = OptionsWindowTest;
using Step = OptionsWindowTest::Step;
using Steps = std::vector<Step>;

Steps plus(Steps a, const Steps& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The custom size item with width and height typed.
Steps customSize(const char* w, const char* h)
{
    return {{Step::Pick, "cboSize", "1"}, {Step::SetText, "txtSize_0", w}, {Step::SetText, "txtSize_1", h}};
}

TEST_F(OptionsCliTest, WindowAndCommandLineGiveTheSameCommand)
{
    open();
    TempDir dir;
    const std::string sub = dir.file("it's [a] sub.srt");
    writeFile(sub, "1\n00:00:00,500 --> 00:00:02,000\nHello\n");
    LangText tw;
    tw.load("tw");
    const FontList fonts = fillFontList(systemFonts(), tw);
    ASSERT_GE(fonts.defaultIndex, 0) << "the set-up installs the default fonts";
    const int other = fonts.defaultIndex == 0 ? 1 : 0;
    const std::string otherFont = fonts.files[static_cast<size_t>(other)];
    const Steps subtitles = {{Step::Choose, "optSub_1", ""}, {Step::SetText, "txtSubFile", sub}};
    struct Case {
        const char* name;
        const char* menu;
        int index;
        const char* key;
        bool crop; // a crop rectangle drawn on the preview, in source pixels
        Steps steps;
        std::vector<std::string> cli;
        std::string font = {}; // the font file the command names, if any
    } cases[] = {
        {"size, crop and borders, scale first", "mnuSrcIsFileToAvi", 3, "h264", true,
         plus(customSize("240", "180"), {{Step::SetText, "txtExpand_0", "8"}, {Step::SetText, "txtExpand_1", "8"}}),
         {"--size", "240x180", "--crop", "10,20,310,220", "--borders", "8,8,0,0"}},
        {"size, crop and borders, crop first", "mnuSrcIsFileToAvi", 2, "divx", true,
         plus(customSize("240", "180"), {{Step::SetText, "txtExpand_2", "6"}, {Step::SetText, "txtExpand_3", "6"}, {Step::Choose, "optScaleCrop_1", ""}}),
         {"--size", "240x180", "--crop", "10,20,310,220", "--borders", "0,0,6,6", "--crop-first"}},
        {"rotation, colour, audio delay, volume and sample rate", "mnuSrcIsFileToAvi", 3, "h264", false,
         {{Step::Pick, "cboRotate", "5"}, {Step::Click, "imgBrightness_1", "2"}, {Step::Click, "imgHue_0", "3"}, {Step::Click, "imgSaturation_1", "1"},
          {Step::SetText, "txtAudioDelay", "0.5"}, {Step::Click, "imgVolume_1", "3"}, {Step::Pick, "cboAudioSample", "6"}},
         {"--rotate", "5", "--brightness", "4", "--hue", "-6", "--saturation", "2", "--audio-delay", "0.5", "--volume", "6", "--sample-rate", "48000"}},
        {"sound off", "mnuSrcIsFileToWmv", 2, "mp42-wmv", false, {{Step::Choose, "optAudio_1", ""}}, {"--no-audio"}},
        {"cut", "mnuSrcIsFileToCut", 2, "cut-avi", false,
         {{Step::Type, "txtScope_0", "00:00:01.0"}, {Step::Type, "txtScope_1", "00:00:02.5"}}, {"--mark", "00:00:01.0", "00:00:02.5"}},
        {"subtitles at their defaults", "mnuSrcIsFileToAvi", 2, "divx", false, subtitles, {"--sub", sub}, fonts.defaultFile()},
        {"every subtitle option changed", "mnuSrcIsFileToAvi", 2, "divx", false,
         plus(subtitles, {{Step::Pick, "cboSubFont", std::to_string(other)}, {Step::Pick, "cboSubcp", "1"}, {Step::Type, "txtSubSize", "6"},
                          {Step::Type, "txtSubPosHgt", "10"}, {Step::Type, "txtSubOutline", "3"}, {Step::Type, "txtSubBlur", "4"},
                          {Step::Type, "txtSubDelay", "-1.5"}}),
         {"--sub", sub, "--sub-font", otherFont, "--sub-cp", "cp950", "--sub-size", "6", "--sub-pos", "10", "--sub-outline", "3",
          "--sub-blur", "4", "--sub-delay", "-1.5"},
         otherFont},
    };
    const std::string source = clip();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chooseSource(c.menu, c.index, source);
        if (c.crop) {
            ConversionOptions& o = ctx().options;
            o.hasCrop = true;
            o.crop = {10, 20, 310, 220};
            o.previewWidth = ctx().job.srcWidth;
            o.previewHeight = ctx().job.srcHeight;
            opts().loadFromJob();
        }
        openOptions();
        EXPECT_EQ(child<QComboBox>("cboSubFont")->currentIndex(), fonts.defaultIndex);
        apply(c.steps);
        boxTexts.clear();
        click("cmdOkCancel_0");
        ASSERT_FALSE(opts().isVisible()) << (boxTexts.empty() ? "" : boxTexts.back());
        const std::string window = windowCommand();
        EXPECT_EQ(window, cliCommand(c.key, c.cli));
        EXPECT_FALSE(window.empty());
        if (!c.font.empty()) {
            EXPECT_NE(window.find(" -font \"" + c.font + "\""), std::string::npos) << window;
        }
    }
}

// Which message each kind of bad subtitle file gets is the checks' own (OptionChecks.SubtitleFile).
TEST_F(OptionsCliTest, TrialPlayRefusesAMissingSubtitleFileOnItsPage)
{
    open();
    chooseSource("mnuSrcIsFileToAvi", 2, clip());
    openOptions();
    child<QRadioButton>("optSub_1")->click();
    child<ZevraTab>("tabMn")->setTabNow(0);
    child<QLineEdit>("txtSubFile")->setText("/nonexistent/a.srt");
    boxTexts.clear();
    click("cmdSubPlay");
    ASSERT_FALSE(boxTexts.empty());
    EXPECT_EQ(boxTexts.back().rfind(msg(Msg::SubtitleFileMissing), 0), 0u) << boxTexts.back();
    EXPECT_EQ(child<ZevraTab>("tabMn")->TabNow(), 4);
    EXPECT_EQ(focusedControl(), "txtSubFile");
    EXPECT_TRUE(opts().isVisible());
    EXPECT_FALSE(opts().previewRunning()) << "the trial play must not start";
}

} // namespace
} // namespace qorvid::test
