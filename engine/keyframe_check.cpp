#include "engine/keyframe_check.h"

#include "app/lang_text.h"
#include "engine/format_time.h"
#include "media/job_state.h"
#include "util/reporters.h"
#include "util/text.h"

#include <cmath>

namespace qorvid {

namespace {

// The number following the last occurrence of a status field; "V:" inside "A-V:" is not one.
std::optional<double> lastField(std::string_view text, std::string_view field)
{
    size_t pos = text.size();
    while (pos > 0) {
        size_t at = text.rfind(field, pos - 1);
        if (at == std::string_view::npos) return std::nullopt;
        pos = at;
        if (at > 0 && text[at - 1] == '-') continue;
        size_t b = at + field.size();
        while (b < text.size() && text[b] == ' ') ++b;
        size_t e = b;
        while (e < text.size() && text[e] != ' ' && text[e] != '\r' && text[e] != '\n') ++e;
        if (auto v = parseNumber(text.substr(b, e - b))) return v;
        return std::nullopt;
    }
    return std::nullopt;
}

// Rounded to two decimals and written with one: the value the check goes on with.
float asShown(float v) { return static_cast<float>(leadingNumber(formatFixed(std::round(v * 100.0) / 100.0, 1))); }

std::string shownText(float v) { return formatFixed(std::round(v * 100.0) / 100.0, 1); }

std::string timeText(float v) { return FormatTime(v, 3, 1); }

} // namespace

float seekLanding(std::string_view out)
{
    if (auto a = lastField(out, "A:")) return static_cast<float>(*a);
    if (auto v = lastField(out, "V:")) return static_cast<float>(*v);
    return -1;
}

std::string seekProbeCommand(const std::string& playerPath, const std::string& source, float seconds)
{
    return playerPath + " -ao null -vo null -noframedrop -frames 1 " + " -ss " + formatFixed(seconds < 0 ? 0 : seconds, 2) +
           " -endpos 0" + " \"" + source + "\"";
}

namespace {

// Seeks on the source as the player lands, with the source's start time taken off.
struct Seeker {
    const std::function<float(float)>& seek;
    float timeShift;

    float probe(float t) const
    {
        float landing = seek(t);
        return landing == -1 ? -1.0f : landing - timeShift;
    }
    // Five samples around r0: the quotient of landing and requested times.
    float rateAround(float l0, float r0) const
    {
        double answers = l0, requested = r0;
        for (int j = 1; j <= 4; ++j) {
            float r = r0 - 2.0f * j;
            float a = r > 0 ? probe(r) : 0;
            if (r <= 0 || a <= 0) {
                a = l0;
                r = r0;
            }
            answers += a;
            requested += r;
        }
        return static_cast<float>(answers / requested);
    }
    // How much later the player lands than asked, for sources whose times run off; 1 when they do not.
    float rate(const JobState& job, float markStart) const
    {
        float f = 1;
        if (job.srcTimeShift != 0 || job.srcLength <= 0) return f;
        const float length = job.srcLength;
        for (float t = length - 1; t >= length / 10; t -= length / 10) {
            float p = t > 0 ? probe(t) : -1;
            if (p > 0) {
                f = rateAround(p, t);
                break;
            }
        }
        float r0 = markStart / f;
        if (r0 > 0) {
            float l0 = probe(r0);
            if (l0 > 0) f = rateAround(l0, r0);
        }
        return f;
    }
    // The key frame before the landing, stepping back a second at a time; nullopt when none is
    // found within 15 s.
    std::optional<float> keyFrameBefore(float markStart, float f, float landing) const
    {
        for (int k = 1; k <= 15; ++k) {
            float t = probe(markStart / f - static_cast<float>(k));
            if (t == -1) return std::nullopt;
            if (t <= 0) return 0.0f;
            if (t != landing && t < markStart) return t;
        }
        return std::nullopt;
    }
};

// Asks whether the start moves back to the key frame and sets the cut for the answer.
void askCorrection(JobState& job, float f, float landing, float delay, float keyFrame, const LangText& lang,
                   QuestionAsker& asker, KeyFrameOutcome& out)
{
    const float markStart = job.markStart;
    const float advance = asShown(markStart - keyFrame);
    const bool pastEnd = landing >= job.markEnd;
    std::string text = fillPlaceholders(
        lang[pastEnd ? Msg::KeyFrameShiftOk : Msg::KeyFrameShiftYesNo],
        {timeText(markStart), job.jobTitle, shownText(landing - markStart), timeText(markStart),
         timeText(markStart + delay), timeText(markStart - advance), shownText(markStart - keyFrame),
         timeText(markStart), shownText(landing - markStart)});
    Answer a = asker.ask(text, pastEnd ? Buttons::OkCancel : Buttons::YesNoCancel);
    if (a == Answer::Cancel) {
        out.cancelled = true;
    } else if (a == Answer::Ok || a == Answer::Yes) {
        job.jobLength = job.jobLength + advance + 0.75f;
        out.cut = " -ss " + timeText(keyFrame / f - 0.75f) + " -endpos " + timeText(job.jobLength);
    } else {
        job.jobLength = job.jobLength - delay + 0.75f;
        out.cut = " -ss " + timeText(landing / f - 0.75f) + " -endpos " + timeText(job.jobLength);
    }
}

} // namespace

KeyFrameOutcome checkKeyFrames(JobState& job, const std::function<float(float)>& seek, const LangText& lang,
                               QuestionAsker& asker)
{
    KeyFrameOutcome out;
    const float markStart = job.markStart;
    const Seeker seeker{seek, job.srcTimeShift};
    const float f = seeker.rate(job, markStart);

    float landing = seeker.probe(markStart / f);
    if (landing != -1) {
        if (landing < 0) landing = 0;
        const float delay = asShown(landing - markStart);
        if (delay <= 0.25f) {
            if (std::fabs(delay) > 7) out.sparseWarning = true;
        } else {
            const std::optional<float> keyFrame = delay <= 16 ? seeker.keyFrameBefore(markStart, f, landing) : std::nullopt;
            if (!keyFrame) {
                out.sparseWarning = true;
            } else {
                askCorrection(job, f, landing, delay, *keyFrame, lang, asker, out);
                return out; // the rate factor is spent: the new range already holds it
            }
        }
    }
    if (f != 1) out.cut = " -ss " + timeText(markStart / f) + " -endpos " + timeText(job.jobLength);
    return out;
}

} // namespace qorvid
