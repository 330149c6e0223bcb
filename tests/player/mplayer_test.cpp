#include "player/mplayer.h"
#include "player/console_fake.h"
#include "player/player_settings.h"
#include "support/engine_rig.h"
#include "support/lang.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qorvid;
using qorvid::test::ConsoleLauncher;
using qorvid::test::tw;

namespace {

struct WindowState final : PlayerWindowView {
    int state = kStopped;
    std::vector<std::string> notes;
    bool noteHidden = false;
    std::string tip;
    int playState() const override { return state; }
    void showPlayerNote(const std::string& text) override { notes.push_back(text); }
    void hidePlayerNote() override { noteHidden = true; }
    void setIconTip(const std::string& text) override { tip = text; }
    void setStopDosIo() override {}
};

struct MPlayerTest : ::testing::Test {
    // Its program folder has the player; its runner captures what the scripted tools print.
    qorvid::test::ScriptedRig rig;
    ConsoleLauncher launcher;
    ConsoleTool console{launcher};
    WindowState window;
    MPlayer player{console, rig.runner, rig.paths, tw(), window};

    // Opens a file the tool describes with these lines.
    void open(const std::string& identify)
    {
        rig.launcher.onOutput(" -identify ", identify);
        player.openMCI("/media/a clip.avi", 4242);
    }
    void openClip(float length = 40, float fps = 25)
    {
        open("ID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_VIDEO_FPS=" + std::to_string(fps) +
             "\nID_LENGTH=" + std::to_string(length) + "\nID_DEMUXER=avi\nID_AUDIO_CODEC=mpg123\n");
    }
    void openSound(float length = 200)
    {
        open("ID_LENGTH=" + std::to_string(length) + "\nID_DEMUXER=audio\nID_AUDIO_CODEC=mpg123\n");
    }
    // Plays and lets the tool print the text; returns the frame of that poll.
    int poll(const std::string& printed)
    {
        if (!console.running()) player.playMCI(0, 0);
        if (!printed.empty()) launcher.last().output.push_back(printed);
        return player.getCurFrame();
    }
};

} // namespace

TEST(NumberTexts, TenthsCutToHundredthsFirstAndCommandsTakeTwoDecimals)
{
    const std::pair<double, const char*> tenths[] = {
        {83.456, "83.5"}, {5, "5.0"}, {-2, "0.0"}, {0.04, "0.0"},
        {9.949, "10.0"}, // cut to 9.95, which rounds up
        {9.944, "9.9"},  // cut to 9.94
    };
    for (const auto& [value, text] : tenths) EXPECT_EQ(tenthsText(value), text) << value;
    const std::pair<double, const char*> numbers[] = {{16.666, "16.67"}, {-0.001, "0"}, {100, "100"}};
    for (const auto& [value, text] : numbers) EXPECT_EQ(commandNumber(value), text) << value;
}

TEST(MediaNewSize, FitsThePictureKeepingItsAspect)
{
    auto fit = [](int bw, int bh, int w, int h) {
        getMediaNewSize(bw, bh, w, h);
        return std::to_string(w) + "x" + std::to_string(h);
    };
    EXPECT_EQ(fit(320, 320, 640, 480), "320x240");
    EXPECT_EQ(fit(400, 200, 640, 480), "267x200");
    EXPECT_EQ(fit(640, 100, 0, 480), "640x40") << "no area: taken as 320 x 20 before fitting";
    EXPECT_EQ(fit(1000, 1000, 16, 9), "1000x562") << "562.5: halves to even";
}

TEST_F(MPlayerTest, RangeArgumentsOfPlayMci)
{
    openClip(40, 25); // 1000 frames
    EXPECT_EQ(player.commandLine(0, 0).find(" -ss"), std::string::npos);
    const std::string line = player.commandLine(250, 500);
    EXPECT_EQ(line.substr(line.find(" -wid ")), " -wid 4242 -ss 10.0 -endpos 10.0");
    const std::string toEnd = player.commandLine(250, 1000);
    EXPECT_EQ(toEnd.substr(toEnd.find(" -wid ")), " -wid 4242 -ss 10.0");
    // A start with no end, or an end beyond the file, plays to the end.
    EXPECT_EQ(player.commandLine(250, 0), toEnd);
    EXPECT_EQ(player.commandLine(250, 5000), toEnd);
    EXPECT_EQ(player.commandLine(-40, 500).substr(line.find(" -wid ")), " -wid 4242 -ss 0.0 -endpos 20.0");

    player.playMCI(250, 500);
    EXPECT_EQ(launcher.commandLines.back(), line);
    EXPECT_EQ(launcher.commandLines.back().rfind(rig.paths.toolPrefix() + "1.exe \"/media/a clip.avi\" -vo directx", 0), 0u);
}

TEST_F(MPlayerTest, NoToolNothingProbedNothingStarted)
{
    std::filesystem::remove(rig.paths.toolPrefix() + "1.exe");
    openClip();
    EXPECT_TRUE(rig.launcher.started.empty());
    EXPECT_FALSE(player.isSuccess());
    player.playMCI(0, 0);
    EXPECT_TRUE(launcher.commandLines.empty());
    EXPECT_EQ(player.getStatus(), "stopped");
}

TEST_F(MPlayerTest, ProbeKeepsWholeSecondsAndMarksTheKind)
{
    openClip(12.5f, 25);
    EXPECT_EQ(player.getTotalSeconds(), 12) << "halves to even";
    EXPECT_EQ(player.getTotalFrames(), 300);
    EXPECT_TRUE(player.isSuccess());
    EXPECT_FALSE(player.isAudioOnly());
    EXPECT_FALSE(player.isVideoOnly());
    EXPECT_EQ(window.tip, "avi" + tw()[Msg::ListSeparator] + tw()[Msg::ListSeparator] + "mpg123");

    openSound(200);
    EXPECT_TRUE(player.isAudioOnly());
    EXPECT_EQ(player.getFramesPerSecond(), 30) << "no rate: 30, even without a picture";

    open("ID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_LENGTH=0.4\n");
    EXPECT_TRUE(player.isSuccess()) << "a picture is enough";
    EXPECT_TRUE(player.isVideoOnly());
    EXPECT_EQ(player.getTotalSeconds(), 0);

    open("ID_LENGTH=123456.7\nID_AUDIO_CODEC=ffaac\n");
    EXPECT_EQ(player.getTotalSeconds(), 100000);

    open("garbage");
    EXPECT_FALSE(player.isSuccess());
    EXPECT_EQ(player.getVolume(), 100);
}

TEST_F(MPlayerTest, CurrentFrameFromTheThreeStatusFormsLessTheTimeShift)
{
    openClip(40, 25);
    EXPECT_EQ(poll("A:  12.3 V:  12.3 A-V:  0.000 ct:  0.000 300/300 1% 2% 0.3% 0 0\r"), 308) << "307.5 to even";
    EXPECT_FLOAT_EQ(player.curSeconds(), 12.3f);
    EXPECT_EQ(poll("A:  -1.0 V:  -1.0 A-V: 0.0\r"), 308) << "a negative time is ignored";
    EXPECT_EQ(poll("V:   3.5  88/ 88  5%  1%  0.0% 0 0\rV:   3.6  89/ 89  5%  1%  0.0% 0 0\r"), 90)
        << "picture only: the last V:";
    EXPECT_EQ(poll(""), 90) << "nothing new: the last position";
    EXPECT_EQ(poll("A:   2.4 V:   2.4 A-V: 0\rA:   0.0 V:   0.0 A-V: 0\r\n  =====  PAUSE  =====\r\n"), 0)
        << "several lines: the newest time";

    openSound(200);
    player.playMCI(0, 0);
    EXPECT_EQ(poll("A:  65.2 (01:05.2) of 200.0 (03:20.0)  0.4% \r"), 1956);
    EXPECT_FLOAT_EQ(player.curSeconds(), 65.2f);

    // An ASF file without a rate: the converter is asked and its start time is the shift.
    rig.launcher.onOutput(" -i ", "  Duration: 00:00:33.00, start: 3.100000, bitrate: 1 kb/s\n");
    open("ID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_LENGTH=30\nID_DEMUXER=asf\nID_AUDIO_CODEC=wma\n");
    EXPECT_FLOAT_EQ(player.timeShift(), 3.1f);
    EXPECT_NE(window.tip.find("TimeShift= 3.1"), std::string::npos) << window.tip;
    poll("A:  13.1 V:  13.1 A-V:  0.000\r");
    EXPECT_NEAR(player.curSeconds(), 10.0f, 1e-4);
}

TEST_F(MPlayerTest, IndexNoteAndEndLines)
{
    openClip();
    for (const char* percent : {" 42", "  0", "100"}) poll("Generating Index: " + std::string(percent) + " %\r");
    const std::string note = tw()[Msg::RebuildingIndex];
    EXPECT_EQ(window.notes, (std::vector<std::string>{note + "42 %", note + "1 %", note + "99 %"}));
    EXPECT_FALSE(window.noteHidden);
    poll("A:   1.0 V:   1.0 A-V: 0\r");
    EXPECT_TRUE(window.noteHidden);

    EXPECT_EQ(player.getStatus(), "");
    poll("\nExiting... (End of file)\n");
    EXPECT_FALSE(console.running());
    EXPECT_EQ(player.getStatus(), "stopped");

    player.playMCI(0, 0);
    poll("FATAL: Cannot initialize video driver.\n");
    EXPECT_FALSE(console.running());
}

// Seeks by percent for pictures, by relative seconds for sound; sent while paused, they keep the pause.
TEST_F(MPlayerTest, SeekVolumeAndPauseCommands)
{
    openClip(40, 25);
    player.playMCI(0, 0);
    player.setCurFrame(250, true);
    player.setCurFrame(333, false);
    window.state = kPlaying;
    player.setVolume(1234);
    EXPECT_EQ(player.getVolume(), 1000);
    player.setVolume(-5);
    player.setVolume(55);
    player.pauseMCI();
    EXPECT_EQ(launcher.sent(), (std::vector<std::string>{"seek 25 1\n", "seek 33.3 1\n", "frame_step\n",
                                                         "volume 100 1\n", "volume 0 1\n", "volume 5 1\n", "pause\n"}));

    window.state = kPaused;
    launcher.sent().clear();
    player.setCurFrame(0, false);
    player.setVolume(500);
    player.setAudioShow();
    player.resumeMCI();
    player.pauseMCI(); // paused: one frame on
    player.stepMCI();
    EXPECT_EQ(launcher.sent(), (std::vector<std::string>{"pausing seek 0 1\n", "frame_step\n", "pausing volume 50 1\n",
                                                         "pausing volume 0 1\n", "pause\n", "frame_step\n", "frame_step\n"}));

    openSound(200);
    window.state = kPlaying;
    poll("A:  65.2 (01:05.2) of 200.0 (03:20.0)\r");
    launcher.sent().clear();
    player.setCurFrame(1656, true); // 55.2 s at 30 frames per second
    player.setCurFrame(2257, true); // 75.2333 s
    EXPECT_EQ(launcher.sent(), (std::vector<std::string>{"seek -10 0\n", "seek 10.03 0\n"}));

    open("garbage"); // no rate, no length: nothing is sent
    player.setCurFrame(10, false);
    EXPECT_EQ(launcher.sent().size(), 2u);
}

TEST_F(MPlayerTest, AnEarlyStartIsKeptByTheWholeFilePlayOnlyAndANewPlayEndsTheLast)
{
    player.startEarly("/media/a clip.avi", 4242);
    ASSERT_EQ(launcher.children.size(), 1u);
    EXPECT_EQ(launcher.commandLines[0].find(" -ss "), std::string::npos) << "the whole file";
    openClip();
    EXPECT_EQ(launcher.children.size(), 1u) << "probing does not stop it";
    player.playMCI(0, 0);
    EXPECT_EQ(launcher.children.size(), 1u) << "the early run is the play";
    player.playMCI(0, 0);
    ASSERT_EQ(launcher.children.size(), 2u) << "a later play starts again";
    EXPECT_TRUE(launcher.children[0]->terminated);
    EXPECT_FALSE(launcher.children[1]->terminated);

    player.startEarly("/media/a clip.avi", 4242);
    openClip();
    player.playMCI(250, 0);
    EXPECT_EQ(launcher.children.size(), 4u) << "a play from elsewhere replaces the early run";
    EXPECT_NE(launcher.commandLines.back().find(" -ss 10.0"), std::string::npos) << launcher.commandLines.back();
    player.closeMCI();
    EXPECT_TRUE(launcher.children.back()->terminated);
}

TEST(PlayerSettingsFile, KeysInAnyCaseButNoBlankBeforeTheEqualsSign)
{
    // Written back as text: every field at once (the writing itself is checked below).
    PlayerSettings s = readPlayerSettings("MAINRECT=120,80\r\nkeepwh=TRUE\r\nTopMost =True\r\nMciVol=  640 \r\n");
    EXPECT_EQ(playerSettingsText(s), "MainRect=120,80\r\nKeepWH=True\r\nTopMost=False\r\nMciVol=640\r\n")
        << "a blank before = is another key";

    s = readPlayerSettings("MainRect=30,40,9999\nMciVol=5000\nno equals sign\n=\nKeepWH=maybe");
    EXPECT_EQ(s.volume, 1000) << "the writing clamps too";
    EXPECT_EQ(playerSettingsText(s), "MainRect=30,40\r\nKeepWH=False\r\nTopMost=False\r\nMciVol=1000\r\n")
        << "the third number is ignored";

    s = readPlayerSettings("MainRect=30\nMciVol=loud\n");
    EXPECT_FALSE(s.left.has_value()) << "one number is no position: the window is centred";
    EXPECT_EQ(s.volume, -1);
}

TEST(PlayerSettingsFile, WrittenAndReadBack)
{
    qorvid::test::TempDir dir;
    const PlayerSettings s{.left = -15, .top = 300, .topMost = true, .volume = 370};
    const std::string path = dir.file("sub/Plimbo.ini");
    ASSERT_TRUE(savePlayerSettings(path, s));
    EXPECT_EQ(qorvid::test::readFile(path), "MainRect=-15,300\r\nKeepWH=False\r\nTopMost=True\r\nMciVol=370\r\n");
    EXPECT_EQ(playerSettingsText(loadPlayerSettings(path)), qorvid::test::readFile(path)) << "read back alike";
    EXPECT_EQ(loadPlayerSettings(dir.file("missing.ini")).volume, -1);
}
