// A stopped encoder leaves neither a target nor a running FFmpeg behind.
#include "util/subprocess.h"
#include "encoder/encoder_job.h"
#include "support/cli_run.h"
#include "support/test_tools.h"
#include "support/tools_media.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <csignal>
#include <cstring>
#include <poll.h>

using namespace qorvid::test;
using qorvid::Subprocess;

namespace {

// Starts a long encoding and returns once it reports progress past the start.
bool startEncoding(Subprocess& encoder, const std::string& source, const std::string& target)
{
    Subprocess::Setup setup;
    setup.program = pluginPath(2);
    setup.argv = splitCommandLine(pluginPath(2) + " -noodml -ofps 25 -ovc x264 -x264encopts keyint=23:bitrate=800:bframes=0"
                                                  " -oac mp3lame -lameopts cbr:br=64 -vf-add scale=640:480 -vf-add harddup -mc 1 \"" +
                                  source + "\" -o \"" + target + "\"");
    setup.output = Subprocess::Output::Pipe;
    setup.errors = Subprocess::Errors::WithOutput;
    if (!encoder.start(setup)) return false;
    std::string out;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{encoder.outputFd(), POLLIN, 0};
        if (poll(&p, 1, 1000) > 0 && !qorvid::readAvailable(encoder.outputFd(), out)) return false;
        auto pos = numbersAfter(out, "Pos:", "s ");
        if (!pos.empty() && pos.back() > 0) return true;
    }
    return false;
}

} // namespace

TEST(EncoderStop, StoppedOrKilledRunsLeaveNoTargetAndNoFFmpeg)
{
    TempDir dir;
    std::string source = dir.file("long.avi");
    makeMedia(source, "testsrc=size=160x120:rate=25:duration=60", "sine=duration=60", {"-c:v", "mpeg4", "-q:v", "10", "-c:a", "libmp3lame"});

    std::string target = dir.file("stopped.avi");
    // Nothing but the source may stay in the folder: no target, no unfinished file.
    auto onlySource = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
        return names == std::vector<std::string>{"long.avi"};
    };
    for (int sig : {SIGTERM, SIGKILL}) { // even a killed run leaves no unfinished file
        SCOPED_TRACE(strsignal(sig));
        Subprocess encoder;
        ASSERT_TRUE(startEncoding(encoder, source, target));
        encoder.signal(sig);
        EXPECT_NE(encoder.wait(), 0);
        EXPECT_TRUE(toolsGone(source)); // FFmpeg, which names the source, is gone too
        EXPECT_TRUE(onlySource());
    }
}
