// The preview with the real player plugin drawing into the options window. Needs an X server
// (the suite runs these under Xvfb); on Qt's offscreen platform they are skipped.
#include "tests/gui/options_fixture.h"
#include "tests/gui/xvfb_picture.h"

#include "app/ui/x11_tool_windows.h"
#include "player/console_tool.h"
#include "app/ui/preview_slider.h"

#include <QRadioButton>

#include <filesystem>

namespace qorvid::test {
namespace {

class PreviewTest : public OptionsWindowTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "the player needs an X server";
        OptionsWindowTest::SetUp();
        open("Language=en\r\n");
        source_ = makeClip("long clip.avi", 320, 240, 25, 30);
        chooseSource("mnuSrcIsFileToAvi", 1, source_);
        openOptions();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&opts()));
        prefix_ = ctx().paths.toolPrefix();
    }

    QWidget* picture() { return opts().findChild<QWidget*>("picPlayer"); }
    QImage shown() { return shownIn(picture()); }
    // The mean of f over every other pixel of the rows from fromRow on.
    template <class F>
    static double average(const QImage& img, F f, int fromRow = 0)
    {
        double sum = 0;
        long n = 0;
        for (int y = fromRow; y < img.height(); y += 2)
            for (int x = 0; x < img.width(); x += 2, ++n) sum += f(img.pixel(x, y));
        return n ? sum / n : 0;
    }
    // Share of the pixels that are neither black nor the colour key.
    static double pictureShare(const QImage& img)
    {
        return average(img, [](QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) > 40; });
    }
    // Plays until the position has passed the second given.
    void playUntil(float seconds)
    {
        click("lblPlay");
        ASSERT_TRUE(waitUntil([&] { return opts().previewPosition() > seconds && pictureShare(shown()) > 0.5; }));
    }
    void pauseAndSettle()
    {
        click("lblPause");
        settle(picture());
    }
    void drawCrop(QPoint from, QPoint to)
    {
        QTest::mousePress(picture(), Qt::LeftButton, {}, from);
        QTest::mouseMove(picture(), to);
        QTest::mouseRelease(picture(), Qt::LeftButton, {}, to);
    }
    // Whether a running player plugin's command line has these words.
    bool playerRunsWith(const std::string& words)
    {
        ProcessInfo p;
        for (int pid : processesMatching(words))
            if (readProcess(pid, p) && isUnderPrefix(p, prefix_)) return true;
        return false;
    }
    int players() { return playerProcesses(prefix_); }
    std::string lblText(const char* name) { return child<QLabel>(name)->text().toStdString(); }

    std::string source_;
    std::string prefix_;
};

// One window: pause and one frame on, the slider and the ten-second buttons, the drawn crop;
// reopened, a crop too small to keep replaces it.
TEST_F(PreviewTest, PauseStepSeeksAndTheDrawnCrop)
{
    playUntil(1.0f);
    EXPECT_GT(pictureShare(shown()), 0.9) << "the picture fills picPlayer";
    pauseAndSettle();
    const QImage paused = shown();
    const float before = opts().previewPosition();
    QTest::qWait(500);
    EXPECT_EQ(differing(paused, shown()), 0) << "pause holds the picture";
    click("lblPause"); // paused: one frame on
    ASSERT_TRUE(waitUntil([&] { return differing(paused, shown()) > 0.001; }));
    settle(picture());
    // The position is shown to a tenth: one frame at 25 frames per second moves it by 0 or 0.1.
    EXPECT_GE(opts().previewPosition(), before);
    EXPECT_LE(opts().previewPosition(), before + 0.15f);
    EXPECT_TRUE(opts().previewRunning()) << "still paused, not stopped";

    auto* slider = child<PreviewSlider>("imgSliderBG");
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() * 2 / 3, slider->height() / 2));
    ASSERT_TRUE(waitUntil([&] { return opts().previewPosition() > 15; }));
    const std::string afterSlider = lblText("lblCurTime");
    EXPECT_EQ(afterSlider.rfind("00:00:", 0), 0u) << afterSlider;
    const float here = opts().previewPosition();
    click("lblBackward");
    ASSERT_TRUE(waitUntil([&] { return opts().previewPosition() < here - 5; }));
    EXPECT_NE(lblText("lblCurTime"), afterSlider);
    const float back = opts().previewPosition();
    click("lblForward");
    ASSERT_TRUE(waitUntil([&] { return opts().previewPosition() > back + 5; }));

    ASSERT_EQ(picture()->size(), QSize(384, 288)) << "a 4:3 source fills the box";
    drawCrop(QPoint(48, 36), QPoint(336, 252));
    click("cmdOkCancel_0");
    // The same rectangle in source pixels: 384 x 288 shows 320 x 240.
    EXPECT_EQ(windowCommand(), cliCommand("xvid", {"--crop", "40,30,280,210"}));
    EXPECT_NE(windowCommand().find("crop="), std::string::npos);

    openOptions();
    drawCrop(QPoint(10, 10), QPoint(12, 40));
    click("cmdOkCancel_0");
    EXPECT_EQ(windowCommand().find("crop="), std::string::npos) << "under 4 units wide: no crop";
}

// The brightness shows in the paused picture; marks are taken from the position as it plays on.
// That a range becomes the target's length is EncoderConformance's.
TEST_F(PreviewTest, BrightnessShowsAndMarksAreTakenFromThePosition)
{
    playUntil(1.0f);
    pauseAndSettle();
    auto level = [&] { return average(shown(), [](QRgb p) { return qGray(p); }); };
    const double plain = level();
    child<ZevraTab>("tabMn")->setTabNow(kPageColor);
    for (int i = 0; i < 6; ++i) click("imgBrightness_1");
    ASSERT_TRUE(waitUntil([&] { return opts().previewRunning() && level() > plain + 15; }));

    playUntil(2.0f);
    click("lblMark_0");
    const float start = opts().previewPosition();
    ASSERT_TRUE(waitUntil([&] { return opts().previewPosition() > start + 3; }));
    click("lblMark_1");
    const float end = opts().previewPosition();
    const std::string note = lblText("lblScopeNote");
    EXPECT_EQ(note.find("??"), std::string::npos) << note;
    EXPECT_EQ(child<QLineEdit>("txtScope_0")->text().size(), 10);
    click("cmdOkCancel_0");
    EXPECT_FALSE(opts().isVisible());
    EXPECT_EQ(players(), 0) << "OK stops the preview";
    EXPECT_NEAR(ctx().job.markEnd - ctx().job.markStart, end - start, 0.11);
}

// A player that cannot show its picture (163) and the next start; still pictures beside the
// source; the subtitle trial play; then Cancel, the close box and quitting each end the player.
TEST_F(PreviewTest, FailedStartStillPicturesTrialPlayAndEveryWayOut)
{
    click("lblSrceenshot");
    EXPECT_EQ(lastBox(), toUnixLines(msg(Msg::PlayFileFirst))) << "no picture without a running preview";
    // The player is given a display it cannot open: its video output fails as it starts.
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":987");
    click("lblPlay");
    qputenv("DISPLAY", display);
    ASSERT_TRUE(waitUntil([&] { return !opts().previewRunning(); }));
    ASSERT_TRUE(waitUntil([&] { return lastBox() == toUnixLines(msg(Msg::CannotPlay)); })) << lastBox();
    EXPECT_EQ(players(), 0);

    auto pictures = [&] {
        const std::filesystem::directory_iterator files(std::filesystem::path(source_).parent_path());
        return std::count_if(begin(files), end(files), [](const auto& e) { return e.path().extension() == ".png"; });
    };
    playUntil(0.5f);
    pauseAndSettle();
    click("lblSrceenshot");
    ASSERT_TRUE(waitUntil([&] { return pictures() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return lblText("lblNote").find("shot0001.png") != std::string::npos; }));
    const std::string firstLine = QString::fromStdString(msg(Msg::SingleScreenshotNote)).split('\n')[0].trimmed().toStdString();
    EXPECT_NE(lblText("lblNote").find(firstLine), std::string::npos) << lblText("lblNote");
    click("lblCut2Pic");
    ASSERT_TRUE(waitUntil([&] { return pictures() > 4; }));
    click("lblCut2Pic");
    settle(picture());
    const int saved = pictures();
    QTest::qWait(600);
    EXPECT_EQ(pictures(), saved) << "continuous pictures stop when switched off";
    EXPECT_TRUE(opts().previewRunning());

    EXPECT_FALSE(playerRunsWith(" -sub "));
    // White in the lower quarter, where the subtitles show.
    auto whiteBelow = [](const QImage& img) {
        auto white = [](QRgb p) { return qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) > 220; };
        return average(img, white, img.height() * 3 / 4);
    };
    const QImage before = shown();
    const std::string subs = source_.substr(0, source_.size() - 4) + " subs.srt";
    writeFile(subs, "1\n00:00:00,000 --> 00:00:30,000\nHELLO HELLO HELLO\n");
    child<ZevraTab>("tabMn")->setTabNow(4);
    child<QRadioButton>("optSub_1")->click();
    child<QLineEdit>("txtSubFile")->setText(QString::fromStdString(subs));
    typeInto("txtSubSize", "10");
    click("cmdSubPlay");
    ASSERT_TRUE(waitUntil([&] { return opts().previewRunning(); }));
    for (const char* words : {" -sub ", " -subfont-text-scale 10 ", " -font "}) EXPECT_TRUE(playerRunsWith(words)) << words;
    // The white text shows in the lower part of the picture; the preview went on from where it was.
    ASSERT_TRUE(waitUntil([&] { return whiteBelow(shown()) > whiteBelow(before) + 0.007; }))
        << whiteBelow(before) << " white before, " << whiteBelow(shown()) << " now";
    EXPECT_LT(opts().previewPosition(), 5.0f) << "the trial play starts where the preview was";

    EXPECT_GE(players(), 1);
    click("cmdOkCancel_1");
    EXPECT_EQ(players(), 0) << "Cancel";
    openOptions();
    playUntil(0.3f);
    opts().close();
    EXPECT_EQ(players(), 0) << "the close box";
    openOptions();
    playUntil(0.3f);
    win.reset(); // quitting the program
    EXPECT_EQ(players(), 0) << "quitting";
}

// The player's own window (no -wid) is found and retitled; the big screen shows the preview in
// the player window and gives it back.
TEST_F(PreviewTest, ThePlayersOwnWindowAndTheBigScreen)
{
    ConsoleTool console;
    X11ToolWindows windows;
    console.setToolWindows(&windows);
    bool show = false;
    // Without -wid the player opens a window of its own.
    ASSERT_EQ(console.startConsoleTool(ctx().paths.toolPath(1) + " \"" + source_ + "\" -vo directx -slave -ao null",
                                       nullptr, show),
              ConsoleTool::kStarted);
    ASSERT_TRUE(waitUntil([&] { return windows.topLevelOf(console.pid()) != 0; }));
    // The player names its window itself once the video starts: the title is set until it stays.
    EXPECT_TRUE(waitUntil([&] {
        console.setToolWindowTitle("Qorvid - Player");
        QTest::qWait(100);
        return runProgram({"xwininfo", "-name", "Qorvid - Player"}).exitCode == 0;
    }));
    console.stopConsoleTool();
    EXPECT_EQ(players(), 0);

    playUntil(0.5f);
    QWidget* big = nullptr;
    auto openBig = [&] {
        click("lbl2BigScreen");
        big = nullptr;
        return waitUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmPlayer" && w->isVisible()) big = w;
            return big != nullptr;
        });
    };
    ASSERT_TRUE(openBig());
    QWidget* surface = big->findChild<QWidget*>("picPlayer");
    EXPECT_GE(surface->width(), 2 * picture()->width() - 2);
    auto bigShown = [&] { return pictureShare(shownIn(surface)) > 0.5; };
    ASSERT_TRUE(waitUntil(bigShown));
    EXPECT_TRUE(opts().previewRunning());
    // A click on the big picture pauses the preview.
    QTest::mouseClick(surface, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return opts().previewPaused(); }));
    click("lblPlay");

    click("lbl2BigScreen");
    ASSERT_TRUE(waitUntil([&] { return !big->isVisible() && opts().previewRunning() && pictureShare(shown()) > 0.5; }));
    // Closing the player window gives the preview back as well.
    ASSERT_TRUE(openBig());
    ASSERT_TRUE(waitUntil(bigShown));
    big->close();
    ASSERT_TRUE(waitUntil([&] { return opts().previewRunning() && pictureShare(shown()) > 0.5; }));
    // One player left: the plugin and the MPlayer it runs (both carry the plugin's name).
    EXPECT_TRUE(waitUntil([&] { return players() == 2; })) << players();
}

} // namespace
} // namespace qorvid::test
