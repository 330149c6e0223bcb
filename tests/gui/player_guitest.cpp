// The player window with the real player plugin drawing into it. Needs an X server (the suite
// runs these under Xvfb); on Qt's offscreen platform they are skipped.
#include "tests/gui/gui_fixture.h"
#include "tests/gui/xvfb_picture.h"

#include "app/ui/frm_player.h"
#include "app/ui/player_bars.h"
#include "controls/zevra_button.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QMimeData>
#include <QUrl>
#include <QWindow>
#include <QLabel>

namespace qorvid::test {
namespace {

class PlayerTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "the player needs an X server";
        MainWindowTest::SetUp();
        // The machine may have no sound device: the player's own settings send sound nowhere.
        writeFile(mplayerHome.file("config"), "ao=null\n");
        env_.set("MPLAYER_HOME", mplayerHome.path().c_str());
        open("Language=en\r\n");
        prefix_ = ctx().paths.toolPrefix();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        if (!prefix_.empty()) { EXPECT_EQ(players(), 0) << "no player left behind"; }
    }

    frmPlayer& player() { return win->playerWindow(); }
    template <class W>
    W* child(const char* name)
    {
        W* w = player().findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    ZevraButton* button(const char* name) { return child<ZevraButton>(name); }
    std::string status() { return child<QLabel>("lblFnName")->text().toStdString(); }
    QWidget* picture() { return child<QWidget>("picPlayer"); }
    QImage shown() { return shownIn(picture()); }
    float position() { return player().engine()->curSeconds(); }
    int pressed(Qt::Key key)
    {
        QTest::keyClick(&player(), key);
        return player().playState();
    }
    void playUntil(const std::string& file, float seconds)
    {
        player().playSingle(file);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&player()));
        ASSERT_TRUE(waitUntil([&] { return position() > seconds; }));
    }
    int players() { return playerProcesses(prefix_); }
    // Asks the running player its volume; the answer arrives in its output.
    double askVolume()
    {
        double answer = -1;
        auto c = QObject::connect(&player(), &frmPlayer::playerOutput, [&](const QString& out) {
            const qsizetype at = out.lastIndexOf("ANS_volume=");
            if (at >= 0) answer = out.mid(at + 11).section('\n', 0, 0).trimmed().toDouble();
        });
        ctx().console.sendToolCommand("get_property volume", player().playState() == kPaused);
        EXPECT_TRUE(waitUntil([&] { return answer >= 0; }));
        QObject::disconnect(c);
        return answer;
    }
    // Drops a text, or the files when given, on the window as the desktop does.
    void dropOnPlayer(const std::string& text, const QList<QUrl>& urls = {})
    {
        QMimeData data;
        if (urls.isEmpty())
            data.setText(QString::fromStdString(text));
        else
            data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&player(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&player(), &drop);
    }

    TempDir mplayerHome;
    ScopedEnv env_;
    std::string prefix_;
};

// An unreadable file (178); a clip that plays, pauses, jumps to frame zero and stops past its
// end; then the close box, the stop before a dialog and quitting each end the player.
TEST_F(PlayerTest, AClipPlaysPausesJumpsStopsAndEveryWayOutLeavesNoPlayer)
{
    EXPECT_EQ(player().windowTitle(), " Plimbo");
    EXPECT_EQ(pressed(Qt::Key_Space), kStopped) << "Space with no file does nothing";
    const std::string odd = media.file("odd.qzx");
    writeFile(odd, std::string(4096, '\x7f'));
    player().playSingle(odd);
    EXPECT_EQ(status(), msg(Msg::CannotPlayShort));
    EXPECT_TRUE(boxTexts.empty()) << "the status says it, no box";
    EXPECT_EQ(player().playState(), kStopped);
    EXPECT_EQ(players(), 0);
    EXPECT_EQ(pressed(Qt::Key_Space), kStopped);

    const std::string clip = makeClip("clip.avi", 320, 240, 25, 8);
    playUntil(clip, 1.0f);
    EXPECT_EQ(player().windowTitle(), "clip.avi ");
    const QImage a = shown();
    ASSERT_TRUE(waitUntil([&] { return differing(a, shown()) > 0.01; })) << "the frames change in picPlayer";
    EXPECT_EQ(button("mbPlay")->State(), ZevraButton::kDown);

    QTest::mouseClick(button("mbPause"), Qt::LeftButton);
    EXPECT_EQ(player().playState(), kPaused);
    settle(picture());
    const QImage paused = shown();
    const float at = position();
    QTest::qWait(600);
    EXPECT_EQ(differing(paused, shown()), 0) << "pause holds the picture";
    EXPECT_EQ(status().rfind(msg(Msg::PausedPosition), 0), 0u) << status();

    EXPECT_EQ(pressed(Qt::Key_Space), kPlaying);
    ASSERT_TRUE(waitUntil([&] { return position() > at + 0.5f; }));
    EXPECT_EQ(pressed(Qt::Key_Space), kPaused);
    EXPECT_EQ(pressed(Qt::Key_Space), kPlaying);

    EXPECT_EQ(pressed(Qt::Key_PageUp), kPaused); // from playing
    ASSERT_TRUE(waitUntil([&] { return position() < 0.2f; })) << position();
    settle(picture());
    const QImage first = shown();
    QTest::qWait(600);
    EXPECT_EQ(differing(first, shown()), 0) << "paused on the first frame";
    EXPECT_LT(position(), 0.2f);

    EXPECT_EQ(pressed(Qt::Key_Right), kStopped); // 10 s on an 8 s clip
    EXPECT_EQ(status(), msg(Msg::StopPlayingMenu));
    EXPECT_EQ(players(), 0);

    // The end of the file ends the play the same way.
    QTest::mouseClick(button("mbPlay"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return position() > 6.0f; }));
    ASSERT_TRUE(waitUntil([&] { return player().playState() == kStopped; }));
    EXPECT_EQ(status(), msg(Msg::StopPlayingMenu));
    EXPECT_EQ(button("mbPause")->State(), ZevraButton::kDisabled);

    playUntil(clip, 0.3f);
    EXPECT_GE(players(), 1);
    player().close();
    EXPECT_EQ(players(), 0) << "the close box";
    EXPECT_NE(readFile(player().settingsPath()).find("MciVol="), std::string::npos) << "closing saves the settings";

    playUntil(clip, 0.3f);
    win->closePlayer(); // as before the main window's dialogs
    EXPECT_EQ(players(), 0) << "stopped for a dialog";
    EXPECT_EQ(status(), msg(Msg::StopPlayingMenu));

    playUntil(clip, 0.3f);
    win.reset(); // quitting the program: the fixture's check finds no player left
}

// One sound file: the menu and its captions, the sound button (answers from the player's slave
// mode), a seek on the bar, then drops on the window.
TEST_F(PlayerTest, ASoundFileWithItsMenuSoundButtonSeekBarAndDrops)
{
    const std::string song = media.file("song.mp3");
    ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=20", "-c:a", "libmp3lame", song});
    playUntil(song, 0.5f);
    auto caption = [&](const char* name) { return child<QAction>(name)->text().toStdString(); };
    win->applyLanguage("tw"); // the menu and tips follow
    EXPECT_EQ(button("mbBackward")->toolTip().toStdString(), msg(Msg::BackTenSeconds));
    child<QMenu>("mnuMain")->popup(player().mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(child<QAction>("mnuExplorer")->isEnabled()) << "the file exists";
    EXPECT_FALSE(child<QAction>("mnuKeepDef")->isEnabled()) << "no picture to size for";
    child<QMenu>("mnuMain")->hide();
    child<QAction>("mnuShowHideMain")->trigger();
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(caption("mnuShowHideMain"), msg(Msg::ShowMainWindow));
    child<QAction>("mnuShowHideMain")->trigger();
    EXPECT_TRUE(win->isVisible());
    child<QAction>("mnuTopMost")->trigger();
    EXPECT_TRUE(player().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    child<QAction>("mnuTopMost")->trigger();
    EXPECT_FALSE(player().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    auto* bar = child<PlayerSeekBar>("picHsbBack");
    const int start = bar->thumbCentre();
    ASSERT_TRUE(waitUntil([&] { return bar->thumbCentre() > start + 3; }));
    EXPECT_TRUE(player().engine()->isAudioOnly());
    ASSERT_TRUE(button("mbSound")->usable());
    QTest::mouseClick(button("mbSound"), Qt::LeftButton);
    EXPECT_EQ(button("mbSound")->State(), ZevraButton::kDown);
    EXPECT_NEAR(askVolume(), 0, 0.5) << "muted";
    QTest::mouseClick(button("mbSound"), Qt::LeftButton);
    EXPECT_NEAR(askVolume(), 100, 0.5) << "the stored volume again";
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() * 3 / 4, bar->height() / 2));
    ASSERT_TRUE(waitUntil([&] { return position() > 12.0f; })) << position();

    // A folder or a missing path does nothing; a file plays.
    const std::string clip = makeClip("dropped.avi", 320, 240, 25, 6);
    auto* tmrDrag = child<QTimer>("tmrDrag");
    dropOnPlayer(media.path());
    dropOnPlayer(media.file("missing.avi"));
    EXPECT_FALSE(tmrDrag->isActive());
    dropOnPlayer("", {QUrl::fromLocalFile(QString::fromStdString(clip))});
    EXPECT_TRUE(tmrDrag->isActive());
    ASSERT_TRUE(waitUntil([&] { return player().engine()->FileName() == clip && position() > 0.2f; }));
    EXPECT_FALSE(tmrDrag->isActive());
}

// The volume the slider sets reaches the player, a silent file keeps it, and it comes back at
// the next start with the window's place and its menu choices.
TEST_F(PlayerTest, VolumeAndSettingsComeBackAtTheNextStart)
{
    playUntil(makeClip("loud.avi", 320, 240, 25, 6), 0.3f);
    auto* slider = child<VolumeSlider>("picSndBk");
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(26, slider->height() / 2));
    const int chosen = slider->knob();
    ASSERT_GT(chosen, 200);
    ASSERT_LT(chosen, 400);
    EXPECT_NEAR(askVolume(), chosen / 10, 0.5);
    player().move(140, 90);
    child<QAction>("mnuTopMost")->trigger();
    child<QAction>("mnuKeepWH")->trigger();

    const std::string silent = media.file("silent.avi");
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=6", "-c:v", "mpeg4", "-q:v", "5", silent});
    playUntil(silent, 0.3f);
    EXPECT_EQ(button("mbSound")->State(), ZevraButton::kDisabled);
    EXPECT_FALSE(slider->isEnabled());
    const QPoint at = player().pos();
    win->close(); // the main window closes the player with it
    EXPECT_FALSE(player().isVisible());
    EXPECT_EQ(players(), 0);
    // The file's form is PlayerSettingsFile's; here what it holds comes back.
    win->context().boxes.presenter = [](const BoxRequest&) { return Answer::Yes; };
    win.reset();
    open("Language=en\r\n");
    EXPECT_EQ(player().pos(), at);
    EXPECT_TRUE(child<QAction>("mnuTopMost")->isChecked());
    EXPECT_TRUE(child<QAction>("mnuKeepWH")->isChecked());
    EXPECT_EQ(child<VolumeSlider>("picSndBk")->knob(), chosen);
}

} // namespace
} // namespace qorvid::test
