#pragma once
#include "util/clock.h"
#include "util/process.h"
#include "util/reporters.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Stand-ins for unit tests of parsing and timing: a clock that only moves when slept on,
// a child process that releases canned output poll by poll, and reporters that record.
namespace qorvid::test {

class FakeClock final : public Clock {
public:
    std::int64_t nowMs() override { return now; }
    void sleepMs(int ms) override { now += ms; }
    std::int64_t now = 1000000;
};

// One step of a fake child: what it has written by then, and whether it is still running.
struct FakeStep {
    std::string output;
    bool alive = true;
    bool brokenPipe = false;
};

// What a fake child went through, kept by the launcher after the child is gone.
struct FakeRun {
    bool terminated = false;
    bool closed = false;
    int polls = 0;
};

// Hands out fake children by command; a command no rule names gets a child that ends at once.
// Poll i of a child sees step i of its rule; the last step repeats forever.
class ScriptedLauncher final : public ProcessLauncher {
public:
    // The newest rule whose text the command line contains wins.
    void on(const std::string& commandPart, std::vector<FakeStep> steps) { rules_.push_back({commandPart, steps}); }
    // Shortcut: a tool that prints the text and ends.
    void onOutput(const std::string& commandPart, const std::string& output)
    {
        on(commandPart, {FakeStep{output, false}});
    }
    std::unique_ptr<ChildProcess> start(const std::string& commandLine, const StartOptions&) override;

    std::vector<std::string> started;
    // One record for every child handed out, in order (a deque: the children keep references).
    std::deque<FakeRun> runs;
    FakeRun& last() { return runs.back(); }

private:
    std::vector<std::pair<std::string, std::vector<FakeStep>>> rules_;
};

struct RecordingReporters final : MessageSink, QuestionAsker, ProgressView, EstimateView, EventPump, OutputView {
    void showMessage(const std::string& text) override { messages.push_back(text); }
    Answer ask(const std::string& text, Buttons b, bool) override
    {
        questions.push_back(text);
        // Queued answers in order; then OK (or Yes) to everything.
        if (answers.empty()) return b == Buttons::YesNo || b == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    void setProgressNote(float percent, const std::string& caption, bool) override
    {
        percents.push_back(percent);
        captions.push_back(caption);
    }
    void showStartButton() override { startButtonShown = true; }
    void setEstimateNote(const std::string& text) override { estimates.push_back(text); }
    void setCpuNote(const std::string& text) override { cpuNotes.push_back(text); }
    void letEventsRun() override
    {
        ++eventRuns;
        if (onEvents) onEvents();
    }
    void setCommand(const std::string& t) override { command = t; }
    void setOutput(const std::string& t) override { output = t; }
    void appendOutput(const std::string& t) override { output += t; }
    void show() override { ++outputShown; }

    std::vector<std::string> messages, questions, captions, estimates, cpuNotes;
    std::vector<Answer> answers;
    std::vector<float> percents;
    bool startButtonShown = false;
    int eventRuns = 0;
    std::function<void()> onEvents;
    std::string command, output;
    int outputShown = 0;
};

} // namespace qorvid::test
