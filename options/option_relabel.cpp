#include "options/option_relabel.h"

#include "app/lang_text.h"
#include "media/job_state.h"
#include "media/source_selection.h"
#include "options/conversion_options.h"

#include <algorithm>
#include <vector>

namespace qorvid {

namespace {

// The messages that list items, presets, format captions and sound kinds are made of.
constexpr Msg kListMessages[] = {
    Msg::SameAsSourceMedia, Msg::QualityNormal, Msg::QualityLow, Msg::QualityMedium, Msg::QualityHigh,
    Msg::NoFlipNoRotation, Msg::FlipHorizontal, Msg::FlipVertical, Msg::Rotate180, Msg::RotateRightFlip,
    Msg::RotateRight, Msg::RotateLeftFlip, Msg::RotateLeft, Msg::VideoUnchanged, Msg::CustomSize,
    Msg::DefaultEncoding, Msg::EncodingCp950, Msg::EncodingCp936, Msg::EncodingCp1250, Msg::EncodingUnicode,
    Msg::SoundWord, Msg::OriginalRatio, Msg::CustomTimes};

} // namespace

std::string relabelText(const std::string& text, const LangText& from, const LangText& to)
{
    // Longest first, so that a message inside a longer one never cuts the longer one up.
    std::vector<Msg> keys(std::begin(kListMessages), std::end(kListMessages));
    std::stable_sort(keys.begin(), keys.end(), [&](Msg a, Msg b) { return from[a].size() > from[b].size(); });

    // One pass from left to right: a replacement is never looked at again.
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (Msg k : keys) {
            const std::string& old = from[k];
            if (old.empty() || text.compare(i, old.size(), old) != 0) continue;
            out += to[k];
            i += old.size();
            replaced = true;
            break;
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

void relabelJob(ConversionOptions& o, JobState& job, const LangText& from, const LangText& to)
{
    auto relabel = [&](std::string& s) { s = relabelText(s, from, to); };
    for (std::string* s : {&o.formatCaption, &o.cboFps, &o.cboVideoBitrate, &o.cboAudioBitrate, &o.cboSize,
                           &o.cboSubcp, &job.fpsText, &job.videoBitrateText,
                           &job.audioBitrateText})
        relabel(*s);
    for (std::string& item : o.cboFpsList) relabel(item);
    for (std::string& item : o.cboVideoBitrateList) relabel(item);
    if (job.targetKind != TargetKind::None) job.jobTitle = jobTitleFor(job.targetKind, to);
}

} // namespace qorvid
