#include "player/preview_player.h"
#include "player/console_fake.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::ConsoleLauncher;

namespace {

struct PreviewTest : ::testing::Test {
    ConsoleLauncher launcher;
    ConsoleTool console{launcher};
    std::vector<float> starts;
    PreviewPlayer preview{console, [this](float from) {
                              starts.push_back(from);
                              return PreviewCommand{"player \"clip.avi\"", false};
                          }};
    int stops = 0;

    void SetUp() override
    {
        preview.setSource(200, "/media/clips");
        preview.onStopped([this] { ++stops; });
    }
};

} // namespace

TEST(PreviewSeek, SliderPercentHasTwoDecimals)
{
    EXPECT_EQ(seekPercentCommand(33.3f, 200), "seek 16.65 1");
    EXPECT_EQ(seekPercentCommand(250, 200), "seek 100 1");
    EXPECT_EQ(seekPercentCommand(10, 0), "seek 0 1");
}

TEST_F(PreviewTest, PauseTwiceStepsOneFrameAndSeeksWhilePausedKeepThePause)
{
    ASSERT_TRUE(preview.play(5));
    EXPECT_EQ(launcher.lastOptions.workingDir, "/media/clips") << "still pictures go beside the source";
    EXPECT_EQ(starts, std::vector<float>{5});
    preview.pauseButton(0);
    preview.pauseButton(0);
    EXPECT_EQ(preview.state(), PreviewPlayer::State::Pause);
    EXPECT_EQ(launcher.sent(), (std::vector<std::string>{"pause\n", "frame_step\n"}));
    preview.play(0);
    EXPECT_EQ(launcher.sent().back(), "pause\n");
    EXPECT_EQ(preview.state(), PreviewPlayer::State::Play);

    launcher.sent().clear();
    preview.seekTo(50);
    preview.pauseButton(0);
    preview.jump(-10);
    preview.seekTo(100);
    EXPECT_EQ(launcher.sent(), (std::vector<std::string>{"seek 25 1\n", "pause\n", "pausing seek -10 0\n",
                                                         "frame_step\n", "pausing seek 50 1\n", "frame_step\n"}));
    EXPECT_FLOAT_EQ(preview.position(), 100);
}

TEST_F(PreviewTest, VolumeStaysWithinRangeAndIsRememberedForTheNextStart)
{
    EXPECT_FALSE(preview.volume());
    for (int i = 0; i < 3; ++i) preview.volumeStep(+1);
    EXPECT_EQ(*preview.volume(), 100);
    preview.play(0);
    for (int i = 0; i < 25; ++i) preview.volumeStep(-1);
    EXPECT_EQ(*preview.volume(), 0);
    EXPECT_EQ(launcher.sent().front(), "volume 95 1\n");
    EXPECT_EQ(launcher.sent().back(), "volume 0 1\n");
}

TEST_F(PreviewTest, PauseWhileStoppedStartsPausedAndStillPicturesNeedARunningPreview)
{
    EXPECT_FALSE(preview.singlePicture());
    EXPECT_FALSE(preview.setContinuousPictures(true));
    // Pause while stopped shows the first picture paused.
    preview.pauseButton(12);
    EXPECT_EQ(starts, std::vector<float>{12});
    EXPECT_EQ(launcher.sent(), std::vector<std::string>{"frame_step\n"});
    EXPECT_EQ(preview.state(), PreviewPlayer::State::Pause);
    launcher.sent().clear();
    ASSERT_TRUE(preview.setContinuousPictures(true));
    EXPECT_EQ(launcher.sent(), (std::vector<std::string>{"pause\n", "screenshot 1\n"})) << "it plays while it saves";
    EXPECT_EQ(preview.state(), PreviewPlayer::State::Play);
    preview.setContinuousPictures(false);
    EXPECT_EQ(launcher.sent().back(), "pause\n");
    EXPECT_EQ(preview.state(), PreviewPlayer::State::Pause);
    preview.singlePicture();
    EXPECT_EQ(launcher.sent().back(), "pausing screenshot 0\n");
}

TEST_F(PreviewTest, OutputMovesThePositionOnWholeLinesAndFailureEndOrAVanishedPlayerStop)
{
    preview.play(0);
    launcher.last().output.push_back("A:   7.2 V:   7.2 A-V: 0.0\rA:   7.");
    PreviewNews n = preview.readOutput();
    EXPECT_FLOAT_EQ(*n.position, 7.2f);
    launcher.last().output.push_back("3 V:   7.3 A-V: 0.0\r*** screenshot 'shot0001.png' ***\n");
    n = preview.readOutput();
    EXPECT_FLOAT_EQ(*n.position, 7.3f);
    EXPECT_EQ(n.picture, "shot0001.png");
    EXPECT_FALSE(n.continuousPicture);
    EXPECT_FALSE(n.stopped);

    launcher.last().output.push_back("FATAL: Cannot initialize video driver.\n");
    n = preview.readOutput();
    EXPECT_TRUE(n.videoFailed);
    EXPECT_TRUE(n.stopped);
    EXPECT_TRUE(launcher.last().terminated);
    EXPECT_EQ(stops, 1);

    preview.play(0);
    launcher.last().output.push_back("\nExiting... (End of file)\n");
    EXPECT_TRUE(preview.readOutput().stopped);

    preview.play(0);
    launcher.last().alive = false; // died without a word
    EXPECT_TRUE(preview.readOutput().stopped);
    EXPECT_EQ(stops, 3);
    EXPECT_FALSE(preview.running());
}

TEST_F(PreviewTest, RestartKeepsThePositionAndThePause)
{
    preview.play(20);
    launcher.last().output.push_back("A:  31.0 V:  31.0 A-V: 0.0\r");
    preview.readOutput();
    preview.pauseButton(0);
    ASSERT_TRUE(preview.restart());
    EXPECT_EQ(starts, (std::vector<float>{20, 31}));
    EXPECT_TRUE(launcher.children[0]->terminated);
    EXPECT_EQ(launcher.sent(), std::vector<std::string>{"frame_step\n"});
    EXPECT_EQ(preview.state(), PreviewPlayer::State::Pause);
    EXPECT_EQ(stops, 0) << "a restart is not a stop";
}

TEST_F(PreviewTest, StoppingLeavesAnotherOwnersToolRunning)
{
    struct Other : ConsoleOwner {
        void setStopDosIo() override {}
    } other;
    bool shown = false;
    ASSERT_EQ(console.startConsoleTool("player \"song.mp3\"", &other, shown), ConsoleTool::kStarted);
    preview.stop();
    EXPECT_TRUE(console.running()) << "the player window's tool";
    ASSERT_TRUE(preview.play(1)); // takes the console over
    preview.stop();
    EXPECT_FALSE(console.running());
}
