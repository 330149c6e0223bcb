#pragma once
#include "engine/progress_parse.h"
#include "util/reporters.h"

#include <cstdint>
#include <optional>
#include <string>

namespace qorvid {

class Clock;
class LangText;

// The progress bar and the time estimate of a running job, with the values they remember
// between updates: the percentage last drawn and the run's start time.
class JobDisplay {
public:
    JobDisplay(const LangText& lang, ProgressView& progress, EstimateView& estimate, Clock& clock);

    // Draws the bar at percent with the caption; idleStyle only when it is reset after a job.
    void setProgressNote(float percent, const std::string& caption, bool idleStyle);
    // A tool's progress reading, in the running style; remembered for a language switch.
    void showReading(const ProgressReading& reading);
    float lastPercent() const { return lastPercent_; }

    // A run starts: remembers the start time and shows the first estimate text.
    void startEstimate(std::int64_t startMs);
    void stopEstimate() { estimateActive_ = false; }
    bool estimateActive() const { return estimateActive_; }
    std::int64_t startMs() const { return startMs_; }
    // A non-empty text is shown as it is; an empty one recomputes the estimate (each meter tick).
    void showEstimate(const std::string& text);
    // The text that showEstimate("") would show now.
    std::string estimateText();

    // The CPU note back to "CPU usage: 0.0 %".
    void resetCpuNote();
    void setCpuNote(const std::string& text) { estimate_.setCpuNote(text); }

    ProgressView& progressView() { return progress_; }

    // After a language switch: the last reading's caption and the running estimate again,
    // in the new language.
    void relabel();

private:
    const LangText& lang_;
    ProgressView& progress_;
    EstimateView& estimate_;
    Clock& clock_;
    float lastPercent_ = 0;
    std::optional<ProgressReading> reading_; // the bar shows this reading's caption
    bool estimateActive_ = false;
    std::int64_t startMs_ = 0;
    float estimatePercent_ = -1;
    std::string remaining_ = "?";
};

} // namespace qorvid
