// The subtitle page: its font list and defaults, the same fragment as `qorvid-cli convert
// --sub`, and the file check of the trial play.
#include "tests/gui/options_fixture.h"

#include "options/font_list.h"

namespace qorvid::test {
namespace {

using SubtitlePageTest = OptionsWindowTest;

TEST_F(SubtitlePageTest, DefaultsAndEveryChangedOptionGiveTheCommandLineOfTheCliAndTrialPlayChecksTheFile)
{
    open();
    const std::string source = clip();
    TempDir dir;
    const std::string file = dir.file("it's [a] sub.srt");
    writeFile(file, "1\n00:00:00,500 --> 00:00:02,000\nHello\n");
    LangText tw;
    tw.load("tw");
    const FontList fonts = fillFontList(systemFonts(), tw);
    ASSERT_GE(fonts.defaultIndex, 0) << "the set-up installs the default fonts";
    const int other = fonts.defaultIndex == 0 ? 1 : 0;

    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> cli;
    } cases[] = {
        {"defaults", {}, {}},
        {"every option changed",
         {{'P', "cboSubFont", std::to_string(other)}, {'P', "cboSubcp", "1"}, {'K', "txtSubSize", "6"}, {'K', "txtSubPosHgt", "10"},
          {'K', "txtSubOutline", "3"}, {'K', "txtSubBlur", "4"}, {'K', "txtSubDelay", "-1.5"}},
         {"--sub-font", fonts.files[static_cast<size_t>(other)], "--sub-cp", "cp950", "--sub-size", "6", "--sub-pos",
          "10", "--sub-outline", "3", "--sub-blur", "4", "--sub-delay", "-1.5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chooseSource("mnuSrcIsFileToAvi", 2, source);
        openOptions();
        child<QRadioButton>("optSub_1")->click();
        child<QLineEdit>("txtSubFile")->setText(QString::fromStdString(file));
        EXPECT_EQ(child<QComboBox>("cboSubFont")->currentIndex(), fonts.defaultIndex);
        apply(c.steps);
        click("cmdOkCancel_0");
        ASSERT_FALSE(opts().isVisible()) << (boxTexts.empty() ? "" : boxTexts.back());
        const std::string window = windowCommand();
        std::vector<std::string> cli = {"--sub", file};
        cli.insert(cli.end(), c.cli.begin(), c.cli.end());
        EXPECT_EQ(window, cliCommand("divx", cli));
        const std::string font = c.cli.empty() ? fonts.defaultFile() : fonts.files[static_cast<size_t>(other)];
        EXPECT_NE(window.find(" -font \"" + font + "\""), std::string::npos) << window;
    }

    // The trial play refuses a missing file on the subtitle page.
    openOptions();
    for (const auto& [text, message] : {std::pair{"", Msg::EnterSubtitleFile}, std::pair{"/nonexistent/a.srt", Msg::SubtitleFileMissing}}) {
        SCOPED_TRACE(text);
        child<ZevraTab>("tabMn")->setTabNow(0);
        child<QLineEdit>("txtSubFile")->setText(text);
        boxTexts.clear();
        click("cmdSubPlay");
        ASSERT_FALSE(boxTexts.empty());
        EXPECT_EQ(boxTexts.back().rfind(ctx().lang[message], 0), 0u) << boxTexts.back();
        EXPECT_EQ(child<ZevraTab>("tabMn")->TabNow(), 4);
        EXPECT_EQ(focusedControl(), "txtSubFile");
        EXPECT_TRUE(opts().isVisible());
        EXPECT_FALSE(opts().previewRunning()) << "the trial play must not start";
    }
}

} // namespace
} // namespace qorvid::test
