#include "player/source_facts.h"

#include "util/subprocess.h"

#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

namespace qorvid::tools {

namespace {

bool beginsWithDvHeader(const std::string& file)
{
    int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    unsigned char head[3] = {};
    ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    // The first DIF block of a frame is its header: section type 0, sequence 0, block 0.
    return got == 3 && head[0] == 0x1F && head[1] == 0x07 && head[2] == 0x00;
}

// The number of a "key=value" line; nullopt when absent or not a number.
std::optional<double> valueOf(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(key + "=", 0) != 0) continue;
        const char* from = line.c_str() + key.size() + 1;
        char* end = nullptr;
        double v = std::strtod(from, &end);
        return end == from ? std::nullopt : std::optional<double>(v);
    }
    return std::nullopt;
}

std::optional<double> ffprobeDuration(const std::string& file)
{
    // "file:" so that no name can read as an option or another protocol.
    // Only a check: a slow answer is given up, and the player's own stands, well before the
    // caller's limit for a silent player (24 s) runs out.
    Captured c = runAndCapture("ffprobe", {"-v", "error", "-show_entries", "format=duration,start_time", "-of",
                                           "default=nw=1", "file:" + file},
                               RunLimits{10 * 1000, 15 * 1000});
    if (c.exitCode != 0) return std::nullopt;
    std::optional<double> duration = valueOf(c.output, "duration");
    if (!duration) return std::nullopt;
    // An MP3's leading encoder delay shows as a start time; it is no part of the sound.
    std::optional<double> start = valueOf(c.output, "start_time");
    double seconds = *duration - (start && *start > 0 ? *start : 0);
    if (!(seconds > 0)) return std::nullopt;
    return seconds;
}

} // namespace

SourceFacts fileSourceFacts() { return {beginsWithDvHeader, ffprobeDuration}; }

} // namespace qorvid::tools
