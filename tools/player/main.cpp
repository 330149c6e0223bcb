// ZevraRes1: the player. Runs MPlayer with the system's arguments (adapted to this platform)
// and its own standard input, and rewrites its console output where the system relies on the
// older player's wording.
#include "common/output_relay.h"
#include "common/subtitle_text.h"
#include "common/waiting_files.h"
#include "player/asf_seek.h"
#include "player/player_arguments.h"
#include "player/player_output.h"
#include "player/source_facts.h"
#include "util/subprocess.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <unistd.h>

using namespace qorvid::tools;
using qorvid::endWithParent;
using qorvid::Subprocess;

int main(int argc, char** argv)
{
    endWithParent();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::string waiting = firstWaitingFile(args); !waiting.empty()) {
        std::fprintf(stderr, "ZevraRes1: %s is not a regular file\n", waiting.c_str());
        return 1;
    }
    // A copy cut starts on the first key frame at or after -ss; the seek must land there too.
    args = timeAccurateAsfSeek(std::move(args), fileAsfSeekFacts());
    Utf8Subtitle subtitles;
    readSubtitlesAsUtf8(args, subtitles);
    drawSubtitlesWithLibass(args);
    const char* display = std::getenv("DISPLAY");
    Subprocess::Setup setup;
    setup.program = "mplayer";
    // The plugin path stays the first argument, so that the system finds the process as its own.
    setup.argv.push_back(argv[0]);
    for (auto& a : playerArguments(args, display && *display)) setup.argv.push_back(a);
    setup.output = Subprocess::Output::Pipe;
    setup.errors = Subprocess::Errors::WithOutput;

    Subprocess player;
    if (!player.start(setup)) {
        std::fprintf(stderr, "ZevraRes1: %s\n", player.error().c_str());
        return 1;
    }
    forwardSignalsTo(player.pid());
    PlayerOutputRewriter rewriter(fileSourceFacts());
    relayLines(player.outputFd(), STDOUT_FILENO, rewriter);
    exitLike(player.wait());
}
