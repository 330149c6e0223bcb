#pragma once
#include <string>

namespace qorvid {

class LangText;
struct ConversionOptions;
struct JobState;

// One text with every message of the option lists, presets and sound kinds that it holds in
// the old language replaced by the same message of the new one; other characters stay.
std::string relabelText(const std::string& text, const LangText& from, const LangText& to);

// A language switch for the current job: the kind, its title and every option text that came
// from the message table follow the new language; the values the person chose stay.
void relabelJob(ConversionOptions& options, JobState& job, const LangText& from, const LangText& to);

} // namespace qorvid
