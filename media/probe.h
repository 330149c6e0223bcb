#pragma once
#include <string>
#include <string_view>

namespace qorvid {

class LangText;
class MessageSink;
class CommandCapture;
struct AppPaths;
struct JobState;

// Key=value reader for tool output. Positions are 1-based; start is read and advanced past
// the end mark when the key is found. An empty end mark means CR.
std::string findValue(std::string_view text, std::string_view key, std::string_view endMark, bool caseSensitive,
                      int& start, bool includeKey = false);
inline std::string findValue(std::string_view text, std::string_view key)
{
    int start = 1;
    return findValue(text, key, "", false, start);
}
// The text between the nearest separator before the first marker and the marker.
std::string findValueBefore(std::string_view text, std::string_view separator, std::string_view marker);
// "01:02:03.5" -> 3723.5 (+ addend); text without ":" is read as a plain number.
float timeToSeconds(std::string_view text, float addend);
// The smallest integer not below x.
int roundUp(double x);

// The platform's media information service: length and frame rate, 0 when unknown.
class MediaInfo {
public:
    virtual ~MediaInfo() = default;
    virtual void query(const std::string& file, float& lengthSeconds, float& fps) = 0;
};

// What the main window shows while a source is analysed.
class ProbeView {
public:
    virtual ~ProbeView() = default;
    virtual void showProbeBusy(const std::string& /*note*/) {}
    virtual void hideProbeBusy() {}
    // The source labels (size, length, fps) and the length label's tool tip.
    virtual void setVideoInfoNote(const JobState& /*job*/, const std::string& /*lengthTooltip*/) {}
};

struct ProbeContext {
    CommandCapture& runner;
    const AppPaths& paths;
    const LangText& lang;
    MessageSink& messages;
    MediaInfo* mediaInfo = nullptr; // the second opinion for ASF sources, when ticked
    bool checkAsfMci = false;
    ProbeView* view = nullptr;
};

// True when the tool file exists; otherwise shows message 002.
bool checkToolFile(const std::string& path, MessageSink& messages, const LangText& lang);

// The converter's own reading of a file: length, start time and frame rate (values not
// found are left as the caller set them).
void probeWithConverter(CommandCapture& runner, const AppPaths& paths, const std::string& file, float& length,
                        float& startTime, float& fps);
void probeWithMci(MediaInfo* info, const std::string& file, float& length, float& fps);

// A GIF has no size, rate or length lines: its size line from the identify output, then one
// decoding run to count its frames. Returns "Static Gif", "Animated Gifs" or "".
std::string probeGifFrames(const std::string& identifyOutput, const std::string& source, JobState& job,
                           ProbeContext& ctx);
// ASF files often report no usable rate: ask the converter (and the media service when ticked);
// the converter's start time becomes the time shift.
void repairAsfRate(const std::string& source, JobState& job, ProbeContext& ctx);

// Probes the source and fills the source fields of the job (which the caller has cleared).
// Returns "Static Gif", "Animated Gifs" or "".
std::string analyseSource(const std::string& sourcePath, JobState& job, ProbeContext& ctx);

inline constexpr std::string_view kStaticGif = "Static Gif";
inline constexpr std::string_view kAnimatedGifs = "Animated Gifs";

} // namespace qorvid
