// The plugins with the real tools. The player's end with the plugin (its identify and GIF pass
// are checked through the probe, slave mode in a window by the window tests); sources and
// targets that cannot work end with a message, a non-zero exit and no target.
#include "util/subprocess.h"
#include "support/cli_run.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qorvid::test;
using qorvid::Subprocess;

namespace {

std::string q(const std::string& path) { return "\"" + path + "\""; }

std::string encoderCommand(const std::string& options, const std::string& source, const std::string& target)
{
    return pluginPath(2) + " -noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=800"
                           " -oac mp3lame -lameopts cbr:br=64" + options + " -vf-add harddup -mc 1 " +
           q(source) + " -o " + q(target);
}

std::string converterCommand(const std::string& options, const std::string& source, const std::string& target)
{
    return pluginPath(3) + " -y -i " + q(source) + options + " -vn -ab 64000 -ac 2 -ar 44100 " + q(target);
}

// A folder nobody may write into (root writes everywhere but into /proc).
std::string lockedFolder(const TempDir& dir)
{
    if (geteuid() == 0) return "/proc/";
    std::string locked = dir.file("locked");
    mkdir(locked.c_str(), 0555);
    return locked + "/";
}

class Plugins : public ::testing::Test {
protected:
    void SetUp() override
    {
        makeMedia(dir_.file("good.avi"), "testsrc=size=160x120:rate=25:duration=2", "sine=duration=2", {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
        // Sized by the array: the header holds NUL bytes.
        static const char header[] = "RIFF\x10\x00\x00\x00garbage that is not a movie";
        writeFile(dir_.file("corrupt.avi"), std::string(header, sizeof header - 1) + std::string(5000, '\x5a'));
    }

    // Fails with the message (any, when none is given), leaving no target and no unfinished file.
    void expectRefused(const std::string& command, const std::string& target, const std::string& message = "")
    {
        SCOPED_TRACE(command);
        RunResult r = runCommandLine(command);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.output.find(message), std::string::npos) << r.output;
        EXPECT_FALSE(fileExists(target));
        std::string dir = target.substr(0, target.find_last_of('/') + 1);
        EXPECT_FALSE(fileExists(dir + "." + target.substr(dir.size()) + ".part"));
    }

    TempDir dir_;
};

} // namespace

// MPlayer runs under the plugin's name and must not outlive it.
TEST_F(Plugins, KillingThePlayerPluginEndsThePlayer)
{
    const std::string clip = dir_.file("good.avi");
    Subprocess player;
    ASSERT_TRUE(startProgram(player, {pluginPath(1), "-slave", "-identify", "-vo", "null", "-ao", "null", "-loop", "0", clip}));
    std::string out;
    for (pollfd p{player.outputFd(), POLLIN, 0}; out.find("A:") == std::string::npos;)
        if (poll(&p, 1, 20000) <= 0 || !qorvid::readAvailable(player.outputFd(), out)) break;
    ASSERT_NE(out.find("A:"), std::string::npos) << out;
    EXPECT_EQ(processesMatching(clip).size(), 2u); // the plugin and MPlayer
    player.signal(SIGKILL);
    player.wait();
    EXPECT_TRUE(toolsGone(clip));
}

// A missing or corrupt source, a locked target folder, an unknown option; the player names the
// missing file and gives no size.
TEST_F(Plugins, EachPluginRefusesWithItsMessage)
{
    const std::string avi = dir_.file("out.avi"), mp3 = dir_.file("out.mp3");
    const std::string lockedAvi = lockedFolder(dir_) + "qorvid-out.avi", lockedMp3 = lockedFolder(dir_) + "qorvid-out.mp3";
    expectRefused(encoderCommand("", dir_.file("missing.avi"), avi), avi, "cannot open the source");
    expectRefused(encoderCommand("", dir_.file("corrupt.avi"), avi), avi, "cannot read the source");
    expectRefused(encoderCommand("", dir_.file("good.avi"), lockedAvi), lockedAvi, "cannot write the target");
    expectRefused(encoderCommand(" -frobnicate 3", dir_.file("good.avi"), avi), avi, "unknown option -frobnicate");
    // A failure inside FFmpeg (an encoder it does not have) leaves nothing either.
    expectRefused(pluginPath(2) + " -ovc lavc -lavcopts vcodec=nosuchcodec -oac copy " + q(dir_.file("good.avi")) +
                      " -o " + q(avi),
                  avi, "encoding failed");
    expectRefused(converterCommand("", dir_.file("missing.avi"), mp3), mp3, "No such file");
    expectRefused(converterCommand("", dir_.file("corrupt.avi"), mp3), mp3, "Invalid data");
    expectRefused(converterCommand("", dir_.file("good.avi"), lockedMp3), lockedMp3);
    expectRefused(converterCommand(" -frobnicate 3", dir_.file("good.avi"), mp3), mp3, "frobnicate");
    EXPECT_TRUE(fileExists(dir_.file("good.avi")));

    const std::string out = runProgram({pluginPath(1), "-identify", "-ao", "null", "-vo", "null", "-frames", "0", dir_.file("missing.avi")}).output;
    EXPECT_EQ(out.find("ID_VIDEO_WIDTH="), std::string::npos);
    EXPECT_NE(out.find("missing.avi"), std::string::npos);
}

TEST_F(Plugins, NoPluginWaitsOnAFifo)
{
    const std::string fifo = dir_.file("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string target = dir_.file("out.avi");
    for (const std::string& command :
         {pluginPath(1) + " -identify -ao null -vo null -frames 0 " + q(fifo), encoderCommand("", fifo, target),
          converterCommand("", fifo, dir_.file("out.mp3")),
          encoderCommand(" -sub " + q(fifo), dir_.file("good.avi"), target)}) {
        SCOPED_TRACE(command);
        RunResult r = runProgram(splitCommandLine(command), 20);
        EXPECT_FALSE(r.hung);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.output.find("not a regular file"), std::string::npos) << r.output;
    }
    EXPECT_FALSE(fileExists(target));
    EXPECT_TRUE(processesMatching(fifo).empty());
}
