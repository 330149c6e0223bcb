// The player plugin with the real MPlayer: identify, the GIF pass, the seek probe and slave mode.
#include "util/subprocess.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <sstream>
#include <thread>

using namespace qorvid::test;
using qorvid::Subprocess;

namespace {

// The value of the key after the position, up to the line end (the probe's reading).
std::string valueAfter(const std::string& text, size_t from, const std::string& key)
{
    size_t at = text.find(key, from);
    if (at == std::string::npos) return {};
    at += key.size();
    return text.substr(at, text.find_first_of("\r\n", at) - at);
}

std::string identify(const std::string& file)
{
    return runProgram({pluginPath(1), "-identify", "-ao", "null", "-vo", "null", "-frames", "0", file}).output;
}

// A running program whose output is read until an expected text shows up.
class Session {
public:
    explicit Session(const Subprocess::Setup& setup) { started_ = child_.start(setup); }
    bool started() const { return started_; }
    Subprocess& child() { return child_; }
    const std::string& output() const { return output_; }
    void send(const std::string& line) { qorvid::writeAll(child_.inputFd(), line + "\n"); }
    // True when the text appears after position "from" before the deadline (a guard against a
    // hung player, not a measured wait).
    bool waitFor(const std::string& text, size_t from = 0, int seconds = 20)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (output_.find(text, from) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || child_.outputFd() < 0) return false;
            pollfd p{child_.outputFd(), POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) > 0 && !qorvid::readAvailable(child_.outputFd(), output_))
                child_.closeOutput();
        }
        return true;
    }

private:
    Subprocess child_;
    std::string output_;
    bool started_ = false;
};

class PlayerPlugin : public MediaSuite<PlayerPlugin> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        makeMedia(dir->file("mono 44k.avi"), "testsrc=size=160x120:rate=25:duration=4", "sine=frequency=440:sample_rate=44100:duration=4",
                  {"-ac", "1", "-c:v", "mpeg4", "-g", "12", "-c:a", "libmp3lame", "-b:a", "64k"});
        makeMedia(dir->file("anim.gif"), "testsrc=size=80x60:rate=10:duration=1.5", "");
    }
};

} // namespace

// Without a display too: the probe runs where no desktop is.
TEST_F(PlayerPlugin, IdentifyReportsTheRealSoundOfAMonoFileAfterTheVideoCodec)
{
    ScopedEnv noDisplay;
    noDisplay.set("DISPLAY", nullptr);
    std::string out = identify(dir->file("mono 44k.avi"));
    size_t codec = out.find("ID_VIDEO_CODEC=");
    ASSERT_NE(codec, std::string::npos) << out;
    EXPECT_EQ(valueAfter(out, codec, "ID_AUDIO_RATE="), "44100") << out;
    EXPECT_EQ(valueAfter(out, codec, "ID_AUDIO_NCH="), "1") << out;
    EXPECT_EQ(std::atoi(valueAfter(out, codec, "ID_AUDIO_BITRATE=").c_str()) / 1000, 64);
    EXPECT_EQ(valueAfter(out, 0, "ID_AUDIO_CODEC="), "mp3");
    EXPECT_EQ(valueAfter(out, 0, "ID_VIDEO_WIDTH="), "160");
    EXPECT_EQ(valueAfter(out, 0, "ID_DEMUXER="), "avi");
    EXPECT_EQ(valueAfter(out, 0, "ID_LENGTH=").substr(0, 3), "4.0");
}

TEST_F(PlayerPlugin, GifHasNoSizeLinesSoTheFramesAreCounted)
{
    std::string out = identify(dir->file("anim.gif"));
    EXPECT_EQ(out.find("ID_VIDEO_WIDTH="), std::string::npos) << out;
    EXPECT_EQ(out.find("ID_VIDEO_HEIGHT="), std::string::npos);
    EXPECT_EQ(out.find("ID_VIDEO_FPS="), std::string::npos);
    EXPECT_NE(out.find("ID_DEMUXER=gif"), std::string::npos);
    EXPECT_NE(out.find("VIDEO:  [\bRGB]  80x60 "), std::string::npos);

    std::string pass = runProgram({pluginPath(1), "-ao", "null", "-vo", "null", "-fps", "10000",
                                   dir->file("anim.gif")}).output;
    size_t v = pass.rfind("V:");
    ASSERT_NE(v, std::string::npos) << pass;
    // "V:   1.5  15/ 15": the time and the running frame number.
    std::istringstream status(pass.substr(v + 2, pass.find('/', v) - v - 2));
    double seconds = 0;
    int frames = 0;
    status >> seconds >> frames;
    EXPECT_NEAR(seconds, 1.5, 0.11);
    EXPECT_EQ(frames, 15);
}

TEST_F(PlayerPlugin, SeekProbeLandsOnAKeyFrame)
{
    std::string out = runCommandLine(pluginPath(1) + " -ao null -vo null -noframedrop -frames 1  -ss 1.5 -endpos 0 \"" +
                                     dir->file("mono 44k.avi") + "\"").output;
    size_t a = out.rfind("A:");
    ASSERT_NE(a, std::string::npos) << out;
    double landed = std::atof(out.c_str() + a + 2);
    EXPECT_GE(landed, 0.9);
    EXPECT_LE(landed, 1.6);
}

TEST_F(PlayerPlugin, SlaveModeDrawsIntoTheWindowAndAnswersCommands)
{
    // A private X server and a window to draw into.
    Subprocess::Setup xs;
    xs.program = "Xvfb";
    xs.argv = {"Xvfb", "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"};
    xs.output = Subprocess::Output::Pipe;
    xs.errors = Subprocess::Errors::Null;
    Session xserver(xs);
    ASSERT_TRUE(xserver.started());
    ASSERT_TRUE(xserver.waitFor("\n"));
    std::string display = ":" + xserver.output().substr(0, xserver.output().find('\n'));
    setenv("DISPLAY", display.c_str(), 1);

    // The screen's root window is the one window of a bare X server that nothing covers.
    std::string info = runProgram({"xwininfo", "-root"}).output;
    size_t at = info.find("Window id: ");
    ASSERT_NE(at, std::string::npos) << info;
    std::string wid = info.substr(at + 11, info.find(' ', at + 11) - at - 11);
    long windowId = std::strtol(wid.c_str(), nullptr, 16);

    // The slave-mode command line of the player window, run in a scratch folder.
    TempDir shots;
    std::string command = pluginPath(1) + " \"" + dir->file("mono 44k.avi") + "\"" +
                          " -vo directx -priority abovenormal" +
                          " -autosync 100 -vf-add screenshot -autoq 10 -vf-add pp -slave -identify -idx -nokeepaspect -noaspect -framedrop -osdlevel 0" +
                          " -colorkey 0x010203 -wid " + std::to_string(windowId);
    Subprocess::Setup ps;
    ps.argv = splitCommandLine(command);
    ps.program = ps.argv[0];
    ps.input = Subprocess::Input::Pipe;
    ps.output = Subprocess::Output::Pipe;
    ps.errors = Subprocess::Errors::WithOutput;
    ps.workingDir = shots.path();
    Session player(ps);
    ASSERT_TRUE(player.started());
    ASSERT_TRUE(player.waitFor("V:")) << player.output();

    player.send("pause");
    ASSERT_TRUE(player.waitFor("ID_PAUSED")) << player.output();
    // The paused picture is in the window.
    std::string grab = shots.file("window.png");
    ASSERT_EQ(runProgram({"import", "-window", std::to_string(windowId), grab}).exitCode, 0);
    std::string grey = greyFrame(grab, 0, 8, 8);
    ASSERT_EQ(grey.size(), 64u);
    auto [darkest, brightest] = std::minmax_element(grey.begin(), grey.end(), [](char a, char b) {
        return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
    });
    EXPECT_GT(static_cast<unsigned char>(*brightest) - static_cast<unsigned char>(*darkest), 60);

    size_t mark = player.output().size();
    player.send("frame_step");
    EXPECT_TRUE(player.waitFor("ID_PAUSED", mark)) << player.output().substr(mark);

    mark = player.output().size();
    player.send("pausing seek 50 1");
    player.send("pausing volume 50 1");
    player.send("pausing screenshot 0");
    ASSERT_TRUE(player.waitFor("*** screenshot '", mark)) << player.output().substr(mark);
    size_t name = player.output().find("*** screenshot '", mark) + 16;
    std::string shot = player.output().substr(name, player.output().find('\'', name) - name);
    EXPECT_TRUE(fileExists(shots.file(shot))) << shot;
    // The seek landed near the middle of the 4 s file.
    std::string after = player.output().substr(mark);
    size_t v = after.rfind("V:");
    ASSERT_NE(v, std::string::npos) << after;
    EXPECT_NEAR(std::atof(after.c_str() + v + 2), 2.0, 0.6);

    mark = player.output().size();
    player.send("quit");
    EXPECT_TRUE(player.waitFor("Exiting... (Quit)", mark)) << player.output().substr(mark);
    EXPECT_EQ(player.child().wait(), 0);

    xserver.child().signal(SIGTERM);
    xserver.child().wait();
}

TEST_F(PlayerPlugin, KillingThePluginEndsThePlayer)
{
    Subprocess::Setup ps;
    ps.program = pluginPath(1);
    ps.argv = {pluginPath(1), "-slave", "-identify", "-vo", "null", "-ao", "null", "-loop", "0",
               dir->file("mono 44k.avi")};
    ps.input = Subprocess::Input::Pipe;
    ps.output = Subprocess::Output::Pipe;
    ps.errors = Subprocess::Errors::WithOutput;
    Session player(ps);
    ASSERT_TRUE(player.started());
    ASSERT_TRUE(player.waitFor("A:"));
    auto running = processesMatching(dir->file("mono 44k.avi"));
    EXPECT_EQ(running.size(), 2u); // the plugin and MPlayer, both under the plugin's name
    player.child().signal(SIGKILL);
    player.child().wait();
    bool gone = false;
    for (int tries = 0; tries < 100 && !gone; ++tries) {
        gone = processesMatching(dir->file("mono 44k.avi")).empty();
        if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(gone);
}
