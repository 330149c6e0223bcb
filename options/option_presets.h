#pragma once
#include "options/conversion_options.h"

#include <string>

namespace qorvid {

class LangText;
struct JobState;

struct OptionPreset {
    ConversionOptions options;
    OptionEnables enables;
};

// The options a newly chosen source starts with, by the job's kind and extension (the
// source fields and the default target size must already be in the job). subtitleFile is
// the .srt found beside the source, "" for none. Every preset passes the OK checks.
OptionPreset presetForKind(const JobState& job, const LangText& lang, const std::string& formatCaption,
                           const std::string& subtitleFile = {});

// Which controls can be used for this kind with the current sound, subtitle and size
// choices; the window asks again after each of these changes.
OptionEnables enablesFor(const ConversionOptions& options, const JobState& job);

// The subtitle group's defaults (the font given, size 4, position 5, outline 2, blur 2, delay 0).
void resetSubtitleGroup(ConversionOptions& options, const std::string& defaultFont);

// What the job takes over from the preset: target size, its scale fragment, the three
// list texts and the audio fragment.
void readBackPreset(const ConversionOptions& options, JobState& job);

} // namespace qorvid
