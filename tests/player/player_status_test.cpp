#include "player/player_status.h"
#include "player/preview_command.h"
#include "media/job_state.h"

#include <gtest/gtest.h>

using namespace qorvid;

// The three forms, the newest line and the time shift are read through the player's tests.
TEST(PlayerStatus, PositionsAreCutAfterOneDecimalAndUnusableTimesGiveNothing)
{
    EXPECT_FLOAT_EQ(*statusPosition("V:   3.5  88/ 88\rV:   3.64  89/ 89\r"), 3.6f);
    // "V:  12" has no decimal yet: the line is unfinished.
    for (const char* unusable :
         {"A:  -0.1 V:  0.0 A-V: 0.0\r", "A: ??? V: 1.0\r", "Playing clip.avi.\n", "V:  12", "A: 1.0 no brackets"})
        EXPECT_FALSE(statusPosition(unusable)) << unusable;
}

// The index bounds, a failed video driver and the end of file are read through the player's tests.
TEST(PlayerStatus, PicturesFailuresAndEnds)
{
    EXPECT_FALSE(indexProgress("Generating Index: 42"));
    EXPECT_EQ(savedPicture("*** screenshot 'shot0001.png' ***\n*** screenshot 'shot0002.png' ***\n"), "shot0002.png");
    EXPECT_EQ(savedPicture("*** screenshot 'shot00"), "");
    EXPECT_TRUE(videoFailed("FATAL: Could not initialize video filters (-vf) or video output (-vo).\n"));
    EXPECT_FALSE(videoFailed("Cannot initialize video\n"));
    EXPECT_TRUE(playerExited("Exiting... (Quit)\n"));
    EXPECT_FALSE(playerExited("Exiting... (Interrupted by signal)\n"));
}

TEST(PreviewCommandLine, SourceFormsAndTheStartPosition)
{
    JobState job;
    job.srcLength = 12;
    job.srcFps = 12.5f;
    PreviewRequest r;
    r.toolPath = "/opt/q/plugins/ZevraRes1.exe";
    r.source = "/m/a b.avi";
    r.windowId = 4194307;
    r.startSeconds = 83.456f;
    std::string c = previewCommand(r, job).commandLine;
    EXPECT_EQ(c.rfind("/opt/q/plugins/ZevraRes1.exe \"/m/a b.avi\" -vo directx", 0), 0u) << c;
    EXPECT_NE(c.find(" -colorkey 0x010203 -wid 4194307 -autosync 100"), std::string::npos);
    EXPECT_EQ(c.find(" -volume"), std::string::npos) << "no preview volume chosen yet";
    EXPECT_EQ(c.substr(c.size() - 15), " -ss 00:01:23.5");

    r.source = "/m/Anim.GIF";
    r.volume = 35;
    PreviewCommand gif = previewCommand(r, job);
    EXPECT_TRUE(gif.animatedGif);
    EXPECT_NE(gif.commandLine.find("\"/m/Anim.GIF\" -fps 12.5 -vo"), std::string::npos);
    EXPECT_NE(gif.commandLine.find(" -volume 35 "), std::string::npos);
    job.srcLength = 0;
    EXPECT_EQ(previewCommand(r, job).commandLine.find("-fps"), std::string::npos) << "a still GIF has no rate";

    r.source = "/m/seq/*.png";
    EXPECT_NE(previewCommand(r, job).commandLine.find(" mf://\"/m/seq/*.png\" -mf fps=12.5 -vo"), std::string::npos);
}
