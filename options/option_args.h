#pragma once
#include "options/conversion_options.h"
#include "options/option_checks.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace qorvid {

class LangText;
class MessageSink;
struct JobState;

// The size chain: scale, crop and borders for the job's target size, with the crop
// rectangle to keep and the picture size that comes out.
struct SizeChain {
    std::string args;
    std::array<std::int32_t, 5> cropRect{}; // [0] 1 when set; left, top, right, bottom
    int finalWidth = 0;
    int finalHeight = 0;
};
SizeChain sizeArgs(const ConversionOptions& options, const JobState& job);

std::string colorArgs(const ConversionOptions& options);
std::string rotateArgs(int cboRotate);
std::string volumeArgs(const ConversionOptions& options, const JobState& job);
std::string buildAudioArgs(const ConversionOptions& options, const JobState& job);
// preview: the form the preview player gets, which ignores what the target can carry.
std::string buildSubtitleArgs(const ConversionOptions& options, const JobState& job, bool preview = false);
// The multi-line options summary (CR LF between lines).
std::string buildSummary(const ConversionOptions& options, const JobState& job, const LangText& lang);

struct OkOutcome {
    std::optional<CheckFailure> failure; // the first failed check; the caller shows it on its page
    std::string summary;                 // after success
    bool ok() const { return !failure; }
};
// The OK button: normalises the number boxes, runs the checks in order and writes each
// field into the job as soon as its check passed, then the fragments, the marks and the
// summary. The rotation warning (message 257) goes to the sink and does not stop.
OkOutcome applyOptions(ConversionOptions& options, JobState& job, const LangText& lang, MessageSink& messages);

} // namespace qorvid
