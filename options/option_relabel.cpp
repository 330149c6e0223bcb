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
constexpr int kListMessages[] = {55,  120, 121, 122, 123, 138, 139, 140, 141, 142, 143, 144, 145,
                                 150, 211, 212, 213, 214, 215, 216, 264, 269, 270};

} // namespace

std::string relabelText(const std::string& text, const LangText& from, const LangText& to)
{
    // Longest first, so that a message inside a longer one never cuts the longer one up.
    std::vector<int> keys(std::begin(kListMessages), std::end(kListMessages));
    std::stable_sort(keys.begin(), keys.end(), [&](int a, int b) { return from[a].size() > from[b].size(); });

    // One pass from left to right: a replacement is never looked at again.
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        for (int k : keys) {
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
