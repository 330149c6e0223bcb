#pragma once
#include "encoder/encode_options.h"

#include <optional>
#include <string>
#include <vector>

namespace qorvid::tools {

// What the encoder learnt about the source before it starts.
struct SourceInfo {
    bool hasVideo = false;
    bool hasAudio = false;
    int width = 0;
    int height = 0;
    double videoStart = -1; // first picture's and first sound's time on the file's clock,
    double audioStart = -1; // negative when unknown
    double duration = 0; // seconds, 0 when unknown
    double startTime = 0; // timestamp of the file's beginning
    // For a copied picture cut at -ss: the time (from the file's beginning) of the first key
    // frame at or after the cut, where the player's seek lands; negative when unknown.
    double startKeyFrame = -1;
    // An MPEG programme stream: FFmpeg drops a copied picture cut on the output side there.
    bool programStream = false;
};

// Facts from outside the command line that the translation needs.
struct PlanContext {
    // Whether source holds what was read from the file. Most command lines are planned
    // without it: FFmpeg then finds the streams itself and says how long the source is.
    bool sourceKnown = false;
    SourceInfo source;
    std::string output;     // the file FFmpeg writes
    std::string fontFamily; // family name of the -font file, empty when unknown
    // The picture rate (-ofps) is set by a filter that picks each place's picture by time
    // alone: so it is for every job that may be shared out, on any number of cores.
    bool rateInGraph = false;
    // One piece of a run shared out over the cores: the places of the result in
    // [pieceFrom, pieceTo) seconds (pieceTo 0: to the end), the later pieces stamped from 0.
    bool piece = false;
    double pieceFrom = 0;
    double pieceTo = 0;
    bool soundOnly = false; // the sound of a run in pieces, written to Matroska
    double clockZero = 0;   // for both: the whole run's zero on the file's clock
};

struct FfmpegPlan {
    std::vector<std::string> args; // FFmpeg's arguments, without the program name
    double expectedSeconds = 0;    // length of the result, for the progress percentage
    double cutBegin = 0;           // where in the source the result begins
    std::optional<double> length;  // -endpos
    std::string error;             // why the command line cannot be carried out

    // The length of the result from a source this long (0 when unknown).
    double expectedFor(double sourceDuration) const;
};

// Whether the command line cannot be planned without reading the source first: a copied
// cut (it starts at a key frame), subtitles on a picture of the source's size, a missing
// -oac (an error only where there is sound).
bool planNeedsSource(const EncodeOptions& options);

// Translates an understood MEncoder command line into one FFmpeg run with the same meaning.
FfmpegPlan planFfmpegRun(const EncodeOptions& options, const PlanContext& context);

// An -ofps text as FFmpeg should get it: decimals that stand for the NTSC rates become the
// exact fractions (29.97 -> 30000/1001); empty when the text is not a frame rate.
std::string normaliseFrameRate(const std::string& text);
// The same text as pictures a second; 0 when it is not a frame rate.
double frameRateValue(const std::string& text);

// The FFmpeg muxer for the -of / -lavfopts / -mpegopts choice; error text when unsupported.
struct MuxerChoice {
    std::string muxer;
    std::string error;
};
MuxerChoice chooseMuxer(const EncodeOptions& options);

// The picture's tag in an AVI (-ffourcc, XVID for the XviD encoder); empty: FFmpeg's own.
std::string aviVideoTag(const EncodeOptions& options);

} // namespace qorvid::tools
