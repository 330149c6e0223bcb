#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qorvid::tools {

// Cuts a byte stream into lines. A line ends at "\n" or at "\r" (status lines of the media
// tools end in a lone carriage return); the terminator stays part of the line.
class LineStream {
public:
    void feed(std::string_view chunk) { pending_.append(chunk); }
    // The complete lines received so far, in order.
    std::vector<std::string> takeLines();
    // Whatever follows the last terminator (an unfinished line), emptying the buffer.
    std::string takeRest();
    bool hasRest() const { return !pending_.empty(); }

private:
    std::string pending_;
};

// The line without its terminator.
std::string_view lineText(std::string_view line);
// The terminator of the line ("\n", "\r" or "").
std::string_view lineEnd(std::string_view line);

} // namespace qorvid::tools
