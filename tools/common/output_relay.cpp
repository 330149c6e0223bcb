#include "common/output_relay.h"

#include "common/line_stream.h"
#include "util/subprocess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>

namespace qorvid::tools {
namespace {

constexpr int maxChildren = 16;
volatile sig_atomic_t childPids[maxChildren] = {};
volatile sig_atomic_t childCount = 0;
volatile sig_atomic_t lastSignal = 0;

void passOn(int sig)
{
    lastSignal = sig;
    for (int i = 0; i < childCount; ++i)
        if (childPids[i] > 0) kill(childPids[i], sig);
}

constexpr int quietMs = 150;

} // namespace

void relayLines(int fromFd, int toFd, LineRewriter& rewriter)
{
    LineStream stream;
    pollfd pfd{fromFd, POLLIN, 0};
    bool open = true;
    while (open) {
        int ready = poll(&pfd, 1, stream.hasRest() ? quietMs : -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) {
            if (rewriter.mayPrintUnfinished()) writeAll(toFd, stream.takeRest());
            continue;
        }
        std::string chunk;
        open = readAvailable(fromFd, chunk);
        stream.feed(chunk);
        std::string out;
        for (const auto& line : stream.takeLines()) out += rewriter.line(line);
        if (!out.empty()) writeAll(toFd, out);
    }
    std::string tail = stream.takeRest();
    std::string out = tail.empty() ? std::string() : rewriter.line(tail);
    out += rewriter.finish();
    writeAll(toFd, out);
}

void forwardSignalsTo(int pid) { forwardSignalsTo(std::vector<int>{pid}); }

void forwardSignalsTo(const std::vector<int>& pids)
{
    childCount = 0;
    for (size_t i = 0; i < pids.size() && i < maxChildren; ++i) childPids[i] = pids[i];
    childCount = static_cast<int>(std::min<size_t>(pids.size(), maxChildren));
    struct sigaction sa {};
    sa.sa_handler = passOn;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int forwardedSignal() { return lastSignal; }

void exitLike(int status)
{
    if (status > 128 && status < 128 + 65) {
        int sig = status - 128;
        std::signal(sig, SIG_DFL);
        raise(sig);
    }
    std::exit(status < 0 ? 1 : status);
}

} // namespace qorvid::tools
