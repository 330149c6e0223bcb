#pragma once
#include "util/reporters.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qorvid::cli {

// Messages go to standard error; progress is drawn as one live line when standard
// error is a terminal.
class TerminalReporters final : public MessageSink, public ProgressView, public EstimateView, public EventPump {
public:
    TerminalReporters();
    void showMessage(const std::string& text) override;
    void setProgressNote(float percent, const std::string& caption, bool idleStyle) override;
    void setEstimateNote(const std::string& text) override;
    void setCpuNote(const std::string& text) override;
    // Runs the once-a-second work (CPU load, time estimate) from inside the core's loops.
    void letEventsRun() override;
    std::function<void()> everySecond;
    // Called on every turn, before the once-a-second work.
    std::function<void()> eachTurn;
    // Ends the live line so that the next output starts on a fresh one.
    void finishLine();

private:
    void redraw();
    bool live_;
    std::string caption_, estimate_, cpu_;
    bool drawn_ = false;
    std::int64_t lastTick_ = 0;
};

} // namespace qorvid::cli
