#pragma once
#include "app/paths.h"
#include "media/job_state.h"

#include <optional>
#include <string>

namespace qorvid {

class LangText;
class MessageSink;
class QuestionAsker;

struct CommandInputs {
    const AppPaths& paths;
    const JobState& job;
    std::string source;
    std::string target;
    bool retry = false;   // second attempt: no A/V sync correction
    bool mp3Note = false; // an AVI quick operation whose sound is not MP3
    std::optional<std::string> cut; // a CUT rebuilt after the key-frame check
};

// The derived values, in the order the builder computes them.
// FPS: the frame-rate text before its "(" (blanks kept); 0 falls back to the source's rate;
// 14.985, 23.976 and 29.97 become their exact fractions.
std::string fpsArg(const std::string& fpsText, float srcFps);
// GOP: whole frames per second minus 2, at least 2, from the same value as FPS.
int gopValue(const std::string& fpsText, float srcFps);
// VRATE and ARATE: the number before the "(" with no blanks (a blank would split the
// "-lavcopts" argument); 0 gives "800" and "64".
std::string videoRateArg(const std::string& videoBitrateText);
std::string audioRateArg(const std::string& audioBitrateText);
// MAXRATE: 3 × VRATE, at most 9000.
int maxRateValue(const std::string& vrate);
// CUT: "" without a marked range, else " -ss <markStart> -endpos <jobLength>".
std::string computeCut(const JobState& job);
// MC of the video templates: " -mc 1", or " -mc 0" for svq+pcm sources and on the retry.
std::string mcSwitch(const JobState& job, bool retry);

// The container a quick operation expects for the source: "mpegps", "asf" or "avi".
std::string expectedContainer(const std::string& targetExt);
// The source's format as message 262 names it.
std::string sourceFormatName(const JobState& job, const LangText& lang);

// The one command line of the job; "" when nothing is to run (missing tool: message 002;
// unknown kind; container mismatch answered Cancel).
std::string buildCommand(const CommandInputs& in, const LangText& lang, MessageSink& messages,
                         QuestionAsker& questions);

// The compatibility patches of the main window's patch list (index 1 to 3; others: unchanged).
std::string applyCmdEditSpec(std::string command, int index);

} // namespace qorvid
