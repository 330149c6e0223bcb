// The options window on the real main window: the size rule, key filters, adjusters, the OK
// checks on their pages, Cancel, the masks and the English texts; the command line it gives
// against the one the same options give to `qorvid-cli convert --dry-run`.
#include "tests/gui/options_fixture.h"

#include "options/font_list.h"
#include "util/text.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QRegularExpression>

namespace qorvid::test {
namespace {

bool hasChinese(const QString& text)
{
    static const QRegularExpression cjk(QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    return text.contains(cjk);
}

// Every text a person can meet on the widget and its children, with where it stands.
std::vector<std::pair<QString, QString>> textsOf(QWidget* root)
{
    std::vector<std::pair<QString, QString>> out;
    auto add = [&](QObject* o, const QString& what, const QString& text) {
        out.push_back({o->objectName() + " " + what, text});
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.push_front(root);
    for (QWidget* w : widgets) {
        add(w, "tip", w->toolTip());
        add(w, "title", w->windowTitle());
        if (auto* l = qobject_cast<QLabel*>(w)) add(w, "text", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) add(w, "text", b->text());
        if (auto* b = qobject_cast<StyleButton*>(w)) add(w, "caption", b->Caption());
        if (auto* t = qobject_cast<ZevraTab*>(w)) add(w, "captions", t->property("All_Caption").toString());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) add(w, "item", c->itemText(i));
        if (auto* m = qobject_cast<QMenu*>(w)) add(w, "menu", m->title());
        for (QAction* a : w->actions()) add(a, "action", a->text() + " " + a->toolTip());
    }
    return out;
}

TEST_F(OptionsWindowTest, SizeItemsKeyFiltersAndAdjusters)
{
    open("Language=en\r\n");
    chooseSource("mnuSrcIsFileToAvi", 3, clip());
    ctx().options.optSub = 1; // the subtitle boxes are usable only with subtitles on
    opts().loadFromJob();
    openOptions();
    struct Case {
        int srcWidth, srcHeight, item;
        const char* typedWidth; // "" leaves the box as the item set it
        const char* width;
        const char* height;
        bool widthBox, heightBox;
    } cases[] = {
        {720, 576, 26, "", "640", "512", false, false}, // 640 x original ratio
        {0, 0, 26, "", "640", "640", false, false},     // unknown source size: ratio 1
        {352, 288, 5, "0", "352", "198", true, false},  // custom width at 16:9, width 0: the source's
        {720, 576, 2, "500", "500", "400", true, false}, // custom width, original ratio
        {720, 576, 1, "", "720", "576", true, true},     // custom size keeps the boxes
        {720, 576, 0, "", "720", "576", false, false},   // same as source
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ctx().job.srcWidth = c.srcWidth;
        ctx().job.srcHeight = c.srcHeight;
        child<QLineEdit>("txtSize_0")->setText("720");
        child<QLineEdit>("txtSize_1")->setText("576");
        pick("cboSize", c.item);
        if (*c.typedWidth) {
            auto* w = child<QLineEdit>("txtSize_0");
            w->setText(c.typedWidth);
            emit w->editingFinished();
        }
        EXPECT_EQ(child<QLineEdit>("txtSize_0")->text().toStdString(), c.width);
        EXPECT_EQ(child<QLineEdit>("txtSize_1")->text().toStdString(), c.height);
        EXPECT_EQ(child<QLineEdit>("txtSize_0")->isEnabled(), c.widthBox);
        EXPECT_EQ(child<QLineEdit>("txtSize_1")->isEnabled(), c.heightBox);
    }

    // The number boxes let through only their keys.
    pick("cboSize", 1);
    struct Typed {
        const char* box;
        const char* typed;
        const char* shown;
    } typedCases[] = {{"txtSize_0", "12.a-3", "123"},     {"txtExpand_1", "4-2 x", "42"},
                      {"txtSubSize", "1.5", "15"},        {"txtSubBlur", "8e", "8"},
                      {"txtAudioDelay", "-1.5s", "-1.5"}, {"txtSubDelay", "-0.5+", "-0.5"}};
    for (const Typed& c : typedCases) {
        auto* box = child<QLineEdit>(c.box);
        box->clear();
        QTest::keyClicks(box, c.typed);
        EXPECT_EQ(box->text().toStdString(), c.shown) << c.box;
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text().size(), static_cast<int>(std::string(c.shown).size()) - 1) << c.box;
    }

    // The adjusters step, clamp and show their value.
    struct Adjuster {
        const char* name;
        int adjuster;
        int minus, plus;
        int value;
        const char* text;
        const char* reset; // the text after the reset button
    } adjusters[] = {{"Brightness", frmOptions::kBrightness, 0, 60, 100, "Brightness = +100 %", "Brightness = 0 %"},
                     {"Contrast", frmOptions::kContrast, 55, 0, -100, "Contrast = -100 %", "Contrast = 0 %"},
                     {"Hue", frmOptions::kHue, 0, 2, 4, "Hue = +4 Value", "Hue = 0 Value"},
                     {"Saturation", frmOptions::kSaturation, 3, 1, -4, "Saturation = -4 %", "Saturation = 0 %"},
                     {"Volume", frmOptions::kVolume, 1, 0, -2, "Volume = -2 dB", "Volume = 0 dB"}};
    for (const Adjuster& c : adjusters) {
        const std::string img = std::string("img") + c.name;
        const std::string lbl = std::string("lbl") + c.name;
        for (int i = 0; i < c.minus; ++i) click((img + "_0").c_str());
        for (int i = 0; i < c.plus; ++i) click((img + "_1").c_str());
        EXPECT_EQ(opts().adjusterValue(c.adjuster), c.value) << c.name;
        EXPECT_EQ(child<QLabel>(lbl.c_str())->text().toStdString(), c.text);
        click((img + "_2").c_str());
        EXPECT_EQ(opts().adjusterValue(c.adjuster), 0) << c.name;
        EXPECT_EQ(child<QLabel>(lbl.c_str())->text().toStdString(), c.reset);
    }
}

// The window opens over a disabled main window only with a source; each failed check of OK
// shows its message on its page with the field focused; passing values reach the job. Which
// message each kind of bad subtitle file gets is the checks' own (OptionChecks.SubtitleFile).
TEST_F(OptionsWindowTest, OpensOnlyWithASourceAndOkOrTrialPlayChecksOrTakesTheValues)
{
    open();
    win->cmdOptClick(); // no source yet: checkSource refuses
    EXPECT_FALSE(opts().isVisible());
    EXPECT_EQ(lastBox(), toUnixLines(msg(Msg::ChooseSourceFirst)));
    win->menuItem("mnuToScreenshot")->trigger(); // the still pictures are taken in the options window
    EXPECT_EQ(lastBox(), toUnixLines(msg(Msg::ScreenshotHowTo)));
    chooseSource("mnuSrcIsFileToAvi", 3, clip());
    openOptions();
    EXPECT_FALSE(win->isEnabled());
    click("cmdOkCancel_1");
    EXPECT_FALSE(opts().isVisible());
    EXPECT_TRUE(win->isEnabled());

    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::string message; // the start of the box text
        int page;
        const char* field;
        const char* button = "cmdOkCancel_0";
    } cases[] = {
        {"fps 4.9", {{Step::Type, "cboFps", "4.9"}}, fillPlaceholders(msg(Msg::FrameRateRange), {"5", "30"}), 0, "cboFps"},
        {"width 7", {{Step::SetText, "txtSize_0", "7"}}, msg(Msg::WidthRange), 1, "txtSize_0"},
        {"width empty", {{Step::SetText, "txtSize_0", ""}}, msg(Msg::WidthRange), 1, "txtSize_0"},
        {"height 1282", {{Step::SetText, "txtSize_1", "1282"}}, msg(Msg::HeightRange), 1, "txtSize_1"},
        {"flip with a top border", {{Step::Pick, "cboRotate", "2"}, {Step::SetText, "txtExpand_0", "2"}},
         toUnixLines(msg(Msg::FlipWithVerticalBorders)), 1, "txtExpand_0"},
        {"half turn with a bottom border", {{Step::Pick, "cboRotate", "3"}, {Step::SetText, "txtExpand_1", "4"}},
         toUnixLines(msg(Msg::FlipWithVerticalBorders)), 1, "txtExpand_1"},
        {"subtitles without a file", {{Step::Choose, "optSub_1", ""}}, msg(Msg::EnterSubtitleFile), 4, "txtSubFile"},
        {"typed time 0:00:01.0", {{Step::Type, "txtScope_0", "0:00:01.0"}}, toUnixLines(msg(Msg::TimeFormatWrong)), 0, "txtScope_0"},
        {"end not after start", {{Step::Type, "txtScope_0", "00:00:02.0"}, {Step::Type, "txtScope_1", "00:00:01.0"}},
         msg(Msg::MarkEndBeforeStart), 0, "txtScope_1"},
        // The trial play refuses a missing subtitle file the same way, without starting.
        {"trial play, subtitle file missing", {{Step::Choose, "optSub_1", ""}, {Step::SetText, "txtSubFile", "/nonexistent/a.srt"}},
         msg(Msg::SubtitleFileMissing), 4, "txtSubFile", "cmdSubPlay"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openOptions();
        child<ZevraTab>("tabMn")->setTabNow(3); // away from every field's page
        apply(c.steps);
        boxTexts.clear();
        click(c.button);
        ASSERT_EQ(boxTexts.size(), 1u);
        EXPECT_EQ(boxTexts[0].substr(0, c.message.size()), c.message);
        EXPECT_TRUE(opts().isVisible());
        EXPECT_EQ(child<ZevraTab>("tabMn")->TabNow(), c.page);
        EXPECT_EQ(focusedControl(), c.field);
        EXPECT_FALSE(opts().previewRunning());
        click("cmdOkCancel_1");
    }

    // Passing values reach the job and the summary; a mirror may have a top border.
    openOptions();
    apply({{Step::Pick, "cboRotate", "1"}, {Step::SetText, "txtExpand_0", "2"}, {Step::Type, "cboFps", "30"}, {Step::Pick, "cboSize", "1"},
           {Step::SetText, "txtSize_0", "1280"}, {Step::SetText, "txtSize_1", "8"}, {Step::SetText, "txtAudioDelay", "junk"}});
    click("cmdOkCancel_0");
    EXPECT_FALSE(opts().isVisible());
    EXPECT_EQ(ctx().job.targetWidth, 1280);
    EXPECT_EQ(ctx().job.targetHeight, 8);
    EXPECT_EQ(ctx().job.fpsText, "30");
    EXPECT_EQ(child<QLineEdit>("txtAudioDelay")->text().toStdString(), "0");
    EXPECT_EQ(win->lblEncodeNote->text().toStdString(), toUnixLines(ctx().summary));
    EXPECT_NE(ctx().summary.find("1280 x 10"), std::string::npos) << ctx().summary; // 8 + the top border
}

TEST_F(OptionsWindowTest, CancelRestoresTheValuesShownWhenOpened)
{
    open();
    chooseSource("mnuSrcIsFileToAvi", 3, clip());
    openOptions();
    apply({{Step::Click, "imgBrightness_1", "5"}});
    click("cmdOkCancel_0");
    ASSERT_EQ(ctx().options.brightness, 10);

    openOptions();
    const char* boxes[] = {"txtExpand_3", "txtSubFile", "txtSubSize", "txtSubPosHgt", "txtSubOutline", "txtSubBlur", "txtSubDelay"};
    auto state = [&] {
        std::vector<std::string> s = {std::to_string(child<QComboBox>("cboRotate")->currentIndex()),
                                      child<QRadioButton>("optAudio_0")->isChecked() ? "sound" : "no sound",
                                      child<QRadioButton>("optSub_1")->isChecked() ? "subtitles" : "none",
                                      std::to_string(child<QComboBox>("cboSubFont")->currentIndex()),
                                      std::to_string(child<QComboBox>("cboSubcp")->currentIndex())};
        for (const char* b : boxes) s.push_back(child<QLineEdit>(b)->text().toStdString());
        return s;
    };
    const auto before = state();
    const std::string colorArgs = ctx().job.colorArgs;
    apply({{Step::Click, "imgBrightness_1", "3"}, {Step::Pick, "cboRotate", "4"}, {Step::Choose, "optAudio_1", ""}, {Step::Choose, "optSub_1", ""}, {Step::Pick, "cboSubcp", "3"}});
    pick("cboSubFont", child<QComboBox>("cboSubFont")->currentIndex() == 0 ? 1 : 0);
    for (const char* b : boxes) typeInto(b, "7");
    ASSERT_NE(state(), before);
    click("cmdOkCancel_1");
    EXPECT_EQ(opts().adjusterValue(frmOptions::kBrightness), 10);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(ctx().job.colorArgs, colorArgs);
    openOptions();
    EXPECT_EQ(state(), before);
}

// The pages are masked by the target's kind; in English neither window shows Chinese in any
// caption, tool tip, list item or menu text.
TEST_F(OptionsWindowTest, PagesAreMaskedByTargetKindAndEnglishWindowsShowNoChinese)
{
    open("Language=en\r\n");
    const std::string avi = clip();
    // Each language names itself in the language menu: the two Chinese names are meant to stay.
    const QStringList ownNames = {"mnuLngTW", "mnuLngGB"};
    struct Case {
        const char* menu;
        int index;
        std::array<bool, 5> masked;
    } cases[] = {{"mnuSrcIsFileToAvi", 3, {false, false, false, false, false}}, // H.264
                 {"mnuSrcIsFileToSound", 1, {false, true, false, true, true}},  // MP3
                 {"mnuSrcIsFileToAvi", 4, {false, true, false, true, true}},    // AudIsMp3
                 {"mnuSrcIsFileToChangeVol", 2, {false, true, false, true, true}},
                 {"mnuSrcIsFileToCut", 2, {false, true, false, true, true}},
                 {"mnuSrcIsFileToFix", 2, {false, true, false, true, true}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.menu) + " " + std::to_string(c.index));
        chooseSource(c.menu, c.index, avi);
        openOptions();
        for (int page = 0; page < 5; ++page) {
            EXPECT_EQ(child<QWidget>(("picTabMask_" + QString::number(page)).toUtf8())->isHidden(), !c.masked[page]) << page;
            const char* content[] = {"fraGeneral", "fraPicture", "fraSound", "fraColor", "fraSubtitle"};
            EXPECT_EQ(child<QWidget>(content[page])->isEnabled(), !c.masked[page]) << page;
        }
        for (QWidget* window : {static_cast<QWidget*>(win.get()), static_cast<QWidget*>(&opts())})
            for (const auto& [where, text] : textsOf(window))
                EXPECT_TRUE(ownNames.contains(where.section(' ', 0, 0)) || !hasChinese(text))
                    << where.toStdString() << ": " << text.toStdString();
        click("cmdOkCancel_1");
    }
    // The repair takes the whole video: no marks.
    EXPECT_FALSE(child<QLineEdit>("txtScope_0")->isEnabled());
}

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
    const std::string sub = media.file("it's [a] sub.srt");
    writeFile(sub, "1\n00:00:00,500 --> 00:00:02,000\nHello\n");
    const FontList fonts = fillFontList(systemFonts(), ctx().lang);
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
        apply(c.steps);
        boxTexts.clear();
        click("cmdOkCancel_0");
        ASSERT_FALSE(opts().isVisible()) << lastBox();
        const std::string window = windowCommand();
        EXPECT_EQ(window, cliCommand(c.key, c.cli));
        EXPECT_FALSE(window.empty());
        if (!c.font.empty()) { EXPECT_NE(window.find(" -font \"" + c.font + "\""), std::string::npos) << window; }
    }
}

} // namespace
} // namespace qorvid::test
