// The player plugin with the real MPlayer: identify, and its end with the plugin. The GIF pass is
// checked through the probe, slave mode in a window by the player and preview window tests.
#include "util/subprocess.h"
#include "support/cli_run.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <poll.h>

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

class PlayerPlugin : public MediaSuite<PlayerPlugin> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        makeMedia(dir->file("mono 44k.avi"), "testsrc=size=160x120:rate=25:duration=4", "sine=frequency=440:sample_rate=44100:duration=4",
                  {"-ac", "1", "-c:v", "mpeg4", "-g", "12", "-c:a", "libmp3lame", "-b:a", "64k"});
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

// MPlayer runs under the plugin's name and must not outlive it.
TEST_F(PlayerPlugin, KillingThePluginEndsThePlayer)
{
    const std::string clip = dir->file("mono 44k.avi");
    Subprocess player;
    Subprocess::Setup ps;
    ps.program = pluginPath(1);
    ps.argv = {pluginPath(1), "-slave", "-identify", "-vo", "null", "-ao", "null", "-loop", "0", clip};
    ps.input = Subprocess::Input::Pipe;
    ps.output = Subprocess::Output::Pipe;
    ps.errors = Subprocess::Errors::WithOutput;
    ASSERT_TRUE(player.start(ps));
    std::string out;
    for (pollfd p{player.outputFd(), POLLIN, 0}; out.find("A:") == std::string::npos;)
        if (poll(&p, 1, 20000) <= 0 || !qorvid::readAvailable(player.outputFd(), out)) break;
    ASSERT_NE(out.find("A:"), std::string::npos) << out;
    EXPECT_EQ(processesMatching(clip).size(), 2u); // the plugin and MPlayer
    player.signal(SIGKILL);
    player.wait();
    EXPECT_TRUE(toolsGone(clip));
}
