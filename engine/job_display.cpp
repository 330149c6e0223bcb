#include "engine/job_display.h"

#include "app/lang_text.h"
#include "engine/format_time.h"
#include "util/clock.h"

#include <cmath>

namespace qorvid {

JobDisplay::JobDisplay(const LangText& lang, ProgressView& progress, EstimateView& estimate, Clock& clock)
    : lang_(lang), progress_(progress), estimate_(estimate), clock_(clock)
{
}

void JobDisplay::setProgressNote(float percent, const std::string& caption, bool idleStyle)
{
    progress_.setProgressNote(percent, caption, idleStyle);
    lastPercent_ = percent;
    reading_.reset();
}

void JobDisplay::showReading(const ProgressReading& reading)
{
    setProgressNote(reading.percent, progressCaption(lang_, reading), false);
    reading_ = reading;
}

void JobDisplay::relabel()
{
    if (reading_) showReading(*reading_);
    if (estimateActive_) estimate_.setEstimateNote(estimateText());
}

void JobDisplay::startEstimate(std::int64_t startMs)
{
    startMs_ = startMs;
    estimateActive_ = true;
    estimatePercent_ = -1;
    remaining_ = "?";
    showEstimate(fillPlaceholders(lang_[Msg::ElapsedRemaining], {"00:00:00", "?"}));
}

std::string JobDisplay::estimateText()
{
    float elapsed = static_cast<float>(clock_.nowMs() - startMs_) / 1000.0f;
    float p = lastPercent_;
    if (p < 0.5f) {
        remaining_ = "?";
    } else if (p != estimatePercent_) {
        remaining_ = std::to_string(static_cast<long>(std::ceil((100.0 - p) * elapsed / p / 60.0)));
    }
    estimatePercent_ = p;
    return fillPlaceholders(lang_[Msg::ElapsedRemaining], {FormatTime(elapsed, 3, 0), remaining_});
}

void JobDisplay::showEstimate(const std::string& text)
{
    if (!text.empty()) {
        estimate_.setEstimateNote(text);
        return;
    }
    if (estimateActive_) estimate_.setEstimateNote(estimateText());
}

void JobDisplay::resetCpuNote() { estimate_.setCpuNote(lang_[Msg::CpuUsage] + "0.0 %"); }

} // namespace qorvid
