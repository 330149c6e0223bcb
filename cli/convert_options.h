#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qorvid {
class LangText;
struct ConversionOptions;
struct JobState;
} // namespace qorvid

namespace qorvid::cli {

// The options of `qorvid-cli convert`, as given on its command line.
struct ConvertArgs {
    std::string file;
    std::string to;
    std::vector<std::pair<std::string, std::string>> settings; // option name -> value, in order
    std::optional<std::string> out;
    std::optional<std::string> targetDir;
    int patch = 0;
    bool dryRun = false;
    bool yes = false;
    bool play = false;
};

// Parses the words after "convert"; on a usage error returns nullopt with the reason.
std::optional<ConvertArgs> parseConvertArgs(const std::vector<std::string>& words, std::string& error);

// Puts the settings onto the options the source's preset gave, as the options window would.
// Returns "" or the reason a value cannot be used. The marks are left to applyMarks.
std::string applySettings(const ConvertArgs& args, ConversionOptions& options, const JobState& job,
                          const LangText& lang);
// Puts the --mark times onto the options through the mark boxes' own check. Returns "" or the
// message that check shows (107 or 108).
std::string applyMarks(const ConvertArgs& args, ConversionOptions& options, const JobState& job,
                       const LangText& lang);

const char* convertUsage();

} // namespace qorvid::cli
