#pragma once
#include "app/messages.h"
#include "util/reporters.h"

#include <optional>
#include <string>
#include <vector>

namespace qorvid {

class Clock;
class JobDisplay;
class LangText;
class ToolRunner;
struct AppPaths;
struct JobState;
struct SourceLabels;
class TargetLock;

// What the main window does for a running job.
class JobView {
public:
    virtual ~JobView() = default;
    // Running: source, target and options buttons locked, the stop face shown. Idle: undone.
    virtual void setRunningState(bool /*running*/) {}
    virtual void showKeyFrameNote(const std::string& /*text*/) {}
    virtual void hideKeyFrameNote() {}
    // The command review of the developer mode: returns the (edited) command, "" to cancel.
    virtual bool reviewEnabled() const { return false; }
    virtual std::string reviewCommand(const std::string& command) { return command; }
    // The compatibility patch chosen in the developer mode (0: none).
    virtual int cmdEditSpecIndex() const { return 0; }
    virtual std::string settingsSummary() const { return {}; }
    virtual void closePlayer() {}
    // After success, when the person asked to play the result.
    virtual void playTarget(const std::string& /*path*/) {}
};

enum class JobOutcome {
    Stopping,  // a run was in progress: the stop was requested
    Refused,   // a check failed and its message was shown
    Cancelled, // the person said no to a question
    Aborted,   // stopped during the run, or the tool was stuck
    Produced,
    Failed,
};

// What pressing encode would do, up to the tool's run: the dry run prints it, and encode
// runs the tool on exactly this command.
struct JobPlan {
    std::optional<JobOutcome> stopped;  // a check refused or a question was declined
    std::string command;                // the command line the tool gets
    std::optional<std::string> cut;     // the marked start moved to a key frame
    bool mp3Note = false;               // a quick operation turns the AVI's sound into MP3
    std::vector<std::string> questions; // dry run: the go-ahead questions a run would ask
};

struct JobContext {
    const LangText& lang;
    JobState& job;
    const SourceLabels& labels;
    const AppPaths& paths;
    ToolRunner& runner;
    JobDisplay& display;
    MessageSink& messages;
    QuestionAsker& asker;
    JobView& view;
    Clock& clock;
};

// The encode button: converts the current source into the target, from the first check to
// the result message.
class JobDriver {
public:
    explicit JobDriver(JobContext ctx) : ctx_(ctx) {}

    // A press of the start face; while a job runs, a press means stop.
    JobOutcome encode();
    bool running() const { return running_; }
    // The stop face.
    void stop();
    // Everything encode would check, ask and build, without running the tool or writing
    // anything. Questions whose answer changes the command (the key-frame correction) are
    // asked; the go-ahead questions are only listed.
    JobPlan dryRun();

    // The message that refuses this source for this kind of target, Msg::None when none does.
    static Msg refusalFor(const JobState& job);
    // The sound codec's display name for the MP3 note.
    static std::string audioCodecDisplayName(const std::string& srcAudioCodec, const LangText& lang);

private:
    struct Attempt;
    JobOutcome run();
    bool checkKinds();
    std::optional<JobOutcome> checkBeforeStart(TargetLock& lock);
    bool goAhead(const std::string& question);
    bool checkKeyFrameStart(std::optional<std::string>& cut, bool& sparse);
    bool confirmStart(bool sparse, const std::string& mp3Note);
    JobPlan planRun();
    std::string commandFor(const JobPlan& plan, bool retry);
    std::optional<JobOutcome> runTool(const JobPlan& plan, Attempt& attempt);
    std::optional<JobOutcome> afterRun(const Attempt& attempt);
    JobOutcome reportResult(const Attempt& attempt);
    void restoreIdle();

    JobContext ctx_;
    bool running_ = false;
    std::vector<std::string>* dryQuestions_ = nullptr; // set while a dry run lists its questions
};

} // namespace qorvid
