#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace qorvid {

class LangText;
class QuestionAsker;
struct JobState;

// Where a seek really landed, read from the player's status output: the last "A:" field,
// else the last "V:" field; -1 when no number is found.
float seekLanding(std::string_view playerOutput);

// The player's seek probe: " -ao null -vo null -noframedrop -frames 1  -ss <t> -endpos 0 "<file>"".
std::string seekProbeCommand(const std::string& playerPath, const std::string& source, float seconds);

struct KeyFrameOutcome {
    bool cancelled = false;    // the person ended the job
    bool sparseWarning = false; // message 049 goes into the confirmation
    std::string cut;           // a rebuilt CUT, "" to keep the one built from the marks
};

// Checks where a marked start can really be cut: a seek lands on the previous key frame, so
// the person may start there (OK/Yes) or keep the mark and accept the delay (No).
// seek(t) runs the player's probe at t seconds and returns its landing time (-1: none).
// Updates job.jobLength when the start moves.
KeyFrameOutcome checkKeyFrames(JobState& job, const std::function<float(float)>& seek, const LangText& lang,
                               QuestionAsker& asker);

} // namespace qorvid
