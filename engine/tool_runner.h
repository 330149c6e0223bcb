#pragma once
#include "util/command_capture.h"
#include "util/reporters.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace qorvid {

class ChildProcess;
class Clock;
class JobDisplay;
class LangText;
class ProcessLauncher;
struct JobState;

// What the runner reports to and runs with; owned by the front end.
struct RunnerPorts {
    MessageSink& messages;
    EventPump& events;
    JobDisplay& display;
    OutputView* output = nullptr; // the command output window, when the front end has one
    Clock& clock;
    ProcessLauncher& launcher;
};

// How the last RunWithProgress ended.
struct RunEnd {
    bool endedByItself = false; // the tool exited on its own (not stopped, stuck or guarded)
    int exitCode = 0;           // its exit status, 128 + signal number when a signal ended it
    std::string guardReason;    // why the guard stopped the run, "" when it did not
    std::string outputTail;     // the last few kilobytes the tool printed
};

// Runs one external tool at a time as a hidden child whose console is read by polling
// every 100 ms, letting events run in between so that the stop button stays live.
class ToolRunner final : public CommandCapture {
public:
    ToolRunner(const LangText& lang, JobState& job, RunnerPorts ports);

    // Runs an encoding command and drives the progress display; returns the last percentage.
    // lengthSeconds 0 means the job's length.
    float RunWithProgress(const std::string& commandLine, float lengthSeconds, bool showWindow);
    // Runs a command to its end (or until it is stuck, or kCaptureLimitMs have passed) and
    // returns all it printed.
    std::string RunAndCapture(const std::string& commandLine, bool showWindow) override;

    // The abort flag: set by the stop button (safe from a signal handler) and by a stuck run.
    void setStopDosIo() { abort_.store(true); }
    bool aborted() const { return abort_.load(); }
    void clearAbort() { abort_.store(false); }

    // Asked about once a second during RunWithProgress: a non-empty answer ends the run at once
    // (a target folder that has gone, say). Cleared after each run.
    void setRunGuard(std::function<std::string()> guard) { guard_ = std::move(guard); }
    const RunEnd& lastRunEnd() const { return lastEnd_; }

    // Show each tool's command line and console output in the output window.
    bool showDosWindow = false;

    static constexpr int kPollMs = 100;
    // Just after the pipe hangs up the tool is ending: it is looked for sooner.
    static constexpr int kEndingPollMs = 5;
    static constexpr int kEndingPolls = 20;
    static constexpr std::int64_t kBrokenPipeMs = 2000;
    static constexpr std::int64_t kSilentMs = 24000;
    // A capture that is never silent (a tool printing in a loop) still has to end.
    static constexpr std::int64_t kCaptureLimitMs = 10 * 60 * 1000;

private:
    struct Poll {
        bool alive = false;
        bool stuck = false;
        std::string chunk;
    };
    Poll pollOnce(ChildProcess& child, std::int64_t& lastOutputMs, std::size_t maxRead, bool& hungUp);
    int endingPolls_ = 0;
    void fillOutputSpec(const std::string& commandLine);
    void reportEnded(bool stuck);
    bool guardStops(std::int64_t& lastAskedMs);
    void keepTail(const std::string& chunk);

    const LangText& lang_;
    JobState& job_;
    RunnerPorts ports_;
    std::atomic<bool> abort_{false};
    std::function<std::string()> guard_;
    RunEnd lastEnd_;
};

} // namespace qorvid
