// The subtitle page: its font list and defaults, the same fragment as `qorvid-cli convert
// --sub`, and the file check of OK and of the trial play.
#include "tests/gui/options_fixture.h"

#include "options/font_list.h"
#include "support/test_tools.h"

#include <QRadioButton>

namespace qorvid::test {
namespace {

using SubtitlePageTest = OptionsWindowTest;

TEST_F(SubtitlePageTest, DefaultsAndEveryChangedOptionGiveTheCommandLineOfTheCli)
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
        std::function<void(SubtitlePageTest&)> set;
        std::vector<std::string> cli;
    } cases[] = {
        {"defaults", [](SubtitlePageTest&) {}, {}},
        {"every option changed",
         [other](SubtitlePageTest& t) {
             t.pick("cboSubFont", other);
             t.pick("cboSubcp", 1);
             t.typeInto("txtSubSize", "6");
             t.typeInto("txtSubPosHgt", "10");
             t.typeInto("txtSubOutline", "3");
             t.typeInto("txtSubBlur", "4");
             t.typeInto("txtSubDelay", "-1.5");
         },
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
        c.set(*this);
        click("cmdOkCancel_0");
        ASSERT_FALSE(opts().isVisible()) << (boxTexts.empty() ? "" : boxTexts.back());
        const std::string window = windowCommand();
        std::vector<std::string> cli = {"--sub", file};
        cli.insert(cli.end(), c.cli.begin(), c.cli.end());
        EXPECT_EQ(window, cliCommand("divx", cli));
        const std::string font = c.cli.empty() ? fonts.defaultFile() : fonts.files[static_cast<size_t>(other)];
        EXPECT_NE(window.find(" -font \"" + font + "\""), std::string::npos) << window;
    }
}

TEST_F(SubtitlePageTest, TrialPlayAndOkRefuseAMissingFileOnTheSubtitlePage)
{
    open();
    chooseSource("mnuSrcIsFileToAvi", 2, clip());
    openOptions();
    child<QRadioButton>("optSub_1")->click();
    struct Case {
        const char* button;
        const char* text;
        Msg message;
    } cases[] = {{"cmdSubPlay", "", Msg::EnterSubtitleFile},
                 {"cmdSubPlay", "/nonexistent/a.srt", Msg::SubtitleFileMissing},
                 {"cmdOkCancel_0", "", Msg::EnterSubtitleFile}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.text);
        child<ZevraTab>("tabMn")->setTabNow(0);
        child<QLineEdit>("txtSubFile")->setText(c.text);
        boxTexts.clear();
        click(c.button);
        ASSERT_FALSE(boxTexts.empty());
        EXPECT_EQ(boxTexts.back().rfind(ctx().lang[c.message], 0), 0u) << boxTexts.back();
        EXPECT_EQ(child<ZevraTab>("tabMn")->TabNow(), 4);
        EXPECT_EQ(focusedControl(), "txtSubFile");
        EXPECT_TRUE(opts().isVisible());
        EXPECT_FALSE(opts().previewRunning()) << "the trial play must not start";
    }
}

TEST_F(SubtitlePageTest, CancelPutsBackEverySubtitleControl)
{
    open();
    chooseSource("mnuSrcIsFileToAvi", 2, clip());
    openOptions();
    const char* boxes[] = {"txtSubFile", "txtSubSize", "txtSubPosHgt", "txtSubOutline", "txtSubBlur", "txtSubDelay"};
    auto state = [&] {
        std::vector<std::string> s = {child<QRadioButton>("optSub_1")->isChecked() ? "on" : "off",
                                      std::to_string(child<QComboBox>("cboSubFont")->currentIndex()),
                                      std::to_string(child<QComboBox>("cboSubcp")->currentIndex())};
        for (const char* b : boxes) s.push_back(child<QLineEdit>(b)->text().toStdString());
        return s;
    };
    const auto before = state();
    child<QRadioButton>("optSub_1")->click();
    pick("cboSubFont", child<QComboBox>("cboSubFont")->currentIndex() == 0 ? 1 : 0);
    pick("cboSubcp", 3);
    for (const char* b : boxes) typeInto(b, "7");
    ASSERT_NE(state(), before);
    click("cmdOkCancel_1");
    ASSERT_FALSE(opts().isVisible());
    openOptions();
    EXPECT_EQ(state(), before);
}

} // namespace
} // namespace qorvid::test
