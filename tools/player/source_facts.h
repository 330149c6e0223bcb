#pragma once
#include <functional>
#include <optional>
#include <string>

namespace qorvid::tools {

// What the player's output is checked against, asked of the file itself. An unset question
// leaves the player's own answer standing.
struct SourceFacts {
    // Whether the file begins with a DV header block.
    std::function<bool(const std::string& file)> isDv;
    // The file's length in seconds, when it can be told.
    std::function<std::optional<double>(const std::string& file)> duration;
};

// The answers from the file's first bytes and from ffprobe.
SourceFacts fileSourceFacts();

} // namespace qorvid::tools
