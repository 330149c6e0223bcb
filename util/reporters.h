#pragma once
#include <string>

// The small interfaces through which the core reports to a person. The desktop
// program, the command-line front end and the tests each implement them; the
// core never shows anything itself.
namespace qorvid {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const std::string& text) = 0;
};

class QuestionAsker {
public:
    virtual ~QuestionAsker() = default;
    // defaultNo: the "No" button is the default (destructive questions).
    virtual Answer ask(const std::string& text, Buttons buttons, bool defaultNo = false) = 0;
};

class ProgressView {
public:
    virtual ~ProgressView() = default;
    // idleStyle is true only when the bar is reset to 0 after a job.
    virtual void setProgressNote(float percent, const std::string& caption, bool idleStyle) = 0;
    // The start face of the encode button back, the stop face hidden.
    virtual void showStartButton() {}
};

class EstimateView {
public:
    virtual ~EstimateView() = default;
    virtual void setEstimateNote(const std::string& text) = 0;
    virtual void setCpuNote(const std::string& text) = 0;
};

// Lets the front end deliver pending events inside the core's polling loops.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void letEventsRun() = 0;
};

// The review and output window for a tool's command line and console output.
class OutputView {
public:
    virtual ~OutputView() = default;
    virtual void setCommand(const std::string& text) = 0;
    virtual void setOutput(const std::string& text) = 0;
    virtual void appendOutput(const std::string& text) = 0;
    virtual void show() = 0;
};

} // namespace qorvid
