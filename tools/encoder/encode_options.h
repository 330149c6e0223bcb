#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qorvid::tools {

// One item of a MEncoder sub-option list such as "vcodec=mpeg4:keyint=23:cbr".
struct SubOption {
    std::string key;
    std::string value;
    bool hasValue = false;
};
using SubOptions = std::vector<SubOption>;

// "a=b:c" -> {a=b}, {c}.
SubOptions parseSubOptions(const std::string& text);
const SubOption* findSubOption(const SubOptions& options, const std::string& key);

// A filter of a -vf / -af list: "expand=352:288:0:24:1" -> expand, {352, 288, 0, 24, 1}.
struct FilterSpec {
    std::string name;
    std::vector<std::string> params;
};

struct SubtitleOptions {
    std::string file;
    std::string font;
    std::string codepage;
    double textScale = 5; // percent of the picture diagonal
    double outline = 2;
    double blur = 2;
    double position = 100; // percent of the picture height, from the top
    double delay = 0;      // seconds, positive shows the text later
};

// A MEncoder command line, as the encoder understood it.
struct EncodeOptions {
    std::string source;
    std::string target;
    std::string videoEncoder; // -ovc
    std::string audioEncoder; // -oac
    std::string muxer;        // -of
    SubOptions lavfOptions, mpegOptions, lavcOptions, lameOptions, xvidOptions, x264Options;
    std::string outputFps; // -ofps, as written
    std::optional<double> start;  // -ss, seconds
    std::optional<double> length; // -endpos, seconds (a duration)
    double syncCorrection = 0;    // -mc
    bool rebuildIndex = false;    // -idx
    std::string fourcc;           // -ffourcc
    std::vector<FilterSpec> videoFilters;
    std::vector<FilterSpec> audioFilters;
    double audioDelay = 0; // -delay
    int channels = 0;      // -channels
    int sampleRate = 0;    // -srate
    bool noSound = false;
    SubtitleOptions subtitles;
};

struct ParsedOptions {
    EncodeOptions options;
    std::string error; // empty when the command line was understood
};

ParsedOptions parseEncoderArguments(const std::vector<std::string>& args);

// "[[hh:]mm:]ss[.f]" -> seconds; nullopt when it is not a time.
std::optional<double> parseTime(const std::string& text);
// The whole text as a number; nullopt otherwise.
std::optional<double> parseNumber(const std::string& text);

} // namespace qorvid::tools
