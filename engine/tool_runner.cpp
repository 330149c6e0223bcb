#include "engine/tool_runner.h"

#include "app/lang_text.h"
#include "engine/job_display.h"
#include "engine/progress_parse.h"
#include "media/job_state.h"
#include "util/clock.h"
#include "util/process.h"
#include "util/text.h"

#include <filesystem>
#include <limits>

namespace qorvid {

namespace {
constexpr std::size_t kProgressBuffer = 8192;
constexpr std::size_t kCaptureBuffer = 2048;
constexpr std::size_t kTailBytes = 4096;
constexpr std::int64_t kGuardEveryMs = 1000;
} // namespace

ToolRunner::ToolRunner(const LangText& lang, JobState& job, RunnerPorts ports)
    : lang_(lang), job_(job), ports_(ports)
{
}

ToolRunner::Poll ToolRunner::pollOnce(ChildProcess& child, std::int64_t& lastOutputMs, std::size_t maxRead,
                                      bool& hungUp)
{
    // Until the pipe has hung up, its end can cut the wait short; after that (a tool that
    // closed its console but runs on) plain sleeps keep the loop from spinning.
    if (hungUp)
        ports_.clock.sleepMs(endingPolls_ > 0 && endingPolls_-- > 0 ? kEndingPollMs : kPollMs);
    else
        ports_.clock.sleepUnlessHungUp(kPollMs, child.waitHandle());
    Poll p;
    p.alive = child.alive();
    long available = child.peek();
    if (available < 0 && !hungUp) {
        hungUp = true;
        endingPolls_ = kEndingPolls;
    }
    if (available > 0) {
        // Read what is waiting, in buffer-sized pieces, up to maxRead.
        std::size_t want = std::min<std::size_t>(static_cast<std::size_t>(available), maxRead);
        while (p.chunk.size() < want) {
            std::string piece = child.read(std::min(kCaptureBuffer, want - p.chunk.size()));
            if (piece.empty()) break;
            p.chunk += piece;
        }
        lastOutputMs = ports_.clock.nowMs();
    } else if (p.alive) {
        std::int64_t quiet = ports_.clock.nowMs() - lastOutputMs;
        p.stuck = (available < 0 && quiet > kBrokenPipeMs) || (available == 0 && quiet > kSilentMs);
    }
    return p;
}

void ToolRunner::fillOutputSpec(const std::string& commandLine)
{
    std::error_code ec;
    std::string cwd = std::filesystem::current_path(ec).string();
    ports_.output->setCommand(std::string(lang_.inLanguage("目前的路徑 = ", "目前的路径 = ", "Current folder = ")) + cwd +
                              "\r\n" + commandLine);
}

bool ToolRunner::guardStops(std::int64_t& lastAskedMs)
{
    if (!guard_) return false;
    const std::int64_t now = ports_.clock.nowMs();
    if (now - lastAskedMs < kGuardEveryMs) return false;
    lastAskedMs = now;
    lastEnd_.guardReason = guard_();
    return !lastEnd_.guardReason.empty();
}

void ToolRunner::keepTail(const std::string& chunk)
{
    std::string& tail = lastEnd_.outputTail;
    tail += chunk;
    if (tail.size() > 2 * kTailBytes) tail.erase(0, tail.size() - kTailBytes);
}

float ToolRunner::RunWithProgress(const std::string& commandLine, float lengthSeconds, bool showWindow)
{
    if (commandLine.empty()) return 0;
    abort_.store(false);
    lastEnd_ = RunEnd{};
    auto child = ports_.launcher.start(commandLine, StartOptions{showWindow, false});

    std::int64_t lastOutput = ports_.clock.nowMs();
    ports_.display.startEstimate(lastOutput);
    const bool showOutput = showDosWindow && ports_.output;
    if (showOutput) {
        fillOutputSpec(commandLine);
        ports_.output->setOutput({});
    }

    const float length = lengthSeconds == 0 ? job_.jobLength : lengthSeconds;
    const ToolStyle style = toolStyleOf(commandLine);
    float lastShown = -1;
    float percent = 0;
    bool stuck = false;
    bool alive = true;
    bool hungUp = false;
    bool guarded = false;
    std::int64_t guardAsked = lastOutput;

    while (!abort_.load()) {
        Poll p = pollOnce(*child, lastOutput, kProgressBuffer, hungUp);
        alive = p.alive;
        if (p.stuck) {
            stuck = true;
            break;
        }
        if (!p.chunk.empty()) {
            keepTail(p.chunk);
            if (showOutput) ports_.output->appendOutput(sanitizeUtf8(p.chunk));
            if (auto reading = parseProgressChunk(p.chunk, style, length)) {
                percent = reading->percent;
                if (percent != lastShown) {
                    ports_.display.showReading(*reading);
                    lastShown = percent;
                }
            }
        }
        ports_.events.letEventsRun();
        if (!alive) break;
        if (guardStops(guardAsked)) {
            guarded = true;
            break;
        }
    }
    guard_ = nullptr;

    // A stop that comes after the tool has ended by itself is too late to abort anything: the
    // run is complete and its target must not be thrown away.
    if (abort_.load() && !stuck && (!alive || !child->alive())) {
        abort_.store(false);
        alive = false;
    }
    lastEnd_.endedByItself = !alive && !stuck && !guarded && !abort_.load();
    // Killing an ended process is harmless; a stuck or aborted one must go, with its own children.
    if (alive || stuck || guarded || abort_.load()) child->terminate();
    ports_.events.letEventsRun();
    // The last words of a tool that ended are still in the pipe.
    for (int reads = 0; lastEnd_.endedByItself && reads < 64 && child->peek() > 0; ++reads) {
        std::string piece = child->read(kCaptureBuffer);
        if (piece.empty()) break;
        keepTail(piece);
    }
    lastEnd_.exitCode = child->exitCode();
    child->close();
    ports_.display.stopEstimate();
    if (showOutput) ports_.output->show();
    ports_.events.letEventsRun();

    if (!stuck && !abort_.load()) return percent;
    reportEnded(stuck);
    return percent;
}

void ToolRunner::reportEnded(bool stuck)
{
    abort_.store(true);
    ports_.display.resetCpuNote();
    ports_.events.letEventsRun();
    std::string text = job_.jobTitle + lang_[Msg::Interrupted];
    if (stuck) text = lang_[Msg::ProcessStuck] + "\r\n\r\n" + text;
    ports_.messages.showMessage(text);
    ports_.display.progressView().showStartButton();
}

std::string ToolRunner::RunAndCapture(const std::string& commandLine, bool showWindow)
{
    if (commandLine.empty()) return {};
    auto child = ports_.launcher.start(commandLine, StartOptions{showWindow, false});
    std::int64_t lastOutput = ports_.clock.nowMs();
    const std::int64_t started = lastOutput;
    std::string captured;
    bool hungUp = false;

    for (;;) {
        Poll p = pollOnce(*child, lastOutput, std::numeric_limits<std::size_t>::max(), hungUp);
        captured += p.chunk;
        if (p.stuck || ports_.clock.nowMs() - started > kCaptureLimitMs) break;
        ports_.events.letEventsRun();
        if (!p.alive) break;
    }
    if (child->alive()) {
        child->terminate();
        ports_.events.letEventsRun();
    } else {
        // What the tool wrote just before it ended is still in the pipe.
        // Bounded: a grandchild that keeps the pipe open and writing must not hold us here.
        for (int reads = 0, n; reads < 4096 && (n = static_cast<int>(child->peek())) > 0; ++reads) {
            std::string piece = child->read(static_cast<std::size_t>(n));
            if (piece.empty()) break;
            captured += piece;
        }
    }
    child->close();
    ports_.events.letEventsRun();

    captured = sanitizeUtf8(captured);
    if (showDosWindow && ports_.output) {
        fillOutputSpec(commandLine);
        ports_.output->setOutput(captured);
        ports_.output->show();
    }
    return captured;
}

} // namespace qorvid
