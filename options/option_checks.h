#pragma once
#include "app/messages.h"
#include "options/conversion_options.h"

#include <optional>
#include <string>

namespace qorvid {

class LangText;
struct JobState;

// The control that gets the focus after a failed check.
enum class OptionField { Fps, VideoBitrate, AudioBitrate, Width, Height, ExpandTop, ExpandBottom, SubFile };

struct CheckFailure {
    Msg message;
    std::string text; // the message with its placeholders filled
    int page;         // tab page to show
    OptionField field;
};

// Whether the frame-rate box holds "same as the source" (not range-checked, nor are
// the bit-rate boxes flagged so).
bool fpsFromSource(const ConversionOptions& options);

// Rewrites each number box as the text of its value ("" and junk become "0").
void normaliseNumberBoxes(ConversionOptions& options);

// The checks of the OK button, one per field. A field on a masked page passes: its
// controls cannot be used, and the fragments of such a target ignore it.
std::optional<CheckFailure> checkFrameRate(const ConversionOptions& options, const LangText& lang);
std::optional<CheckFailure> checkVideoBitrate(const ConversionOptions& options, const LangText& lang);
std::optional<CheckFailure> checkAudioBitrate(const ConversionOptions& options, const LangText& lang);
std::optional<CheckFailure> checkWidth(const ConversionOptions& options, const LangText& lang);
std::optional<CheckFailure> checkHeight(const ConversionOptions& options, const LangText& lang);
// A vertical flip or a half turn cannot be combined with top or bottom borders.
std::optional<CheckFailure> checkRotateBorders(const ConversionOptions& options, const LangText& lang);

// Whether the target can carry burnt-in subtitles (not for quick operations, "AudIsMp3",
// sound targets or a masked subtitle page).
bool subtitlesAllowed(const ConversionOptions& options, const JobState& job);
// With subtitles on and allowed, the trimmed file name must name an existing file:
// message 217 when empty, 218 + the path when missing.
std::optional<CheckFailure> checkSubtitleFile(const ConversionOptions& options, const JobState& job,
                                              const LangText& lang);

} // namespace qorvid
