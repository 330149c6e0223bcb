#include "player/asf_seek.h"

#include "util/subprocess.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid::tools {

namespace {

// Object GUIDs as they lie in the file.
constexpr unsigned char kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr unsigned char kFileProperties[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                               0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr unsigned char kDataObject[16] = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                           0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
// The data object's own fields before its first packet.
constexpr std::int64_t kDataObjectHead = 50;

std::uint64_t le(std::string_view s, size_t at, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
}

bool isGuid(std::string_view s, size_t at, const unsigned char (&guid)[16])
{
    return at + 16 <= s.size() && std::memcmp(s.data() + at, guid, 16) == 0;
}

std::string fileHead(const std::string& file, size_t bytes)
{
    int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat st {};
    std::string head;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        head.resize(bytes);
        ssize_t got = ::read(fd, head.data(), bytes);
        head.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    ::close(fd);
    return head;
}

std::optional<AsfLayout> fileLayout(const std::string& file)
{
    // The header holds the stream descriptions and metadata: well below this.
    return parseAsfLayout(fileHead(file, 256 * 1024));
}

std::optional<std::int64_t> ffprobeKeyFramePacket(const std::string& file, double seconds)
{
    char interval[64];
    std::snprintf(interval, sizeof interval, "%.3f%%+%.3f", seconds > 1 ? seconds - 1 : 0.0, 121.0);
    // A slow answer is given up well before the caller's limit for a silent player.
    Captured c = runAndCapture("ffprobe",
                               {"-v", "error", "-select_streams", "v:0", "-read_intervals", interval, "-show_entries",
                                "packet=pts_time,dts_time,pos,flags:format=start_time", "-of", "default=nw=1",
                                "file:" + file},
                               RunLimits{10 * 1000, 15 * 1000});
    if (c.exitCode != 0) return std::nullopt;
    struct Key {
        double time;
        std::int64_t pos;
    };
    std::vector<Key> keys;
    double pts = NAN, dts = NAN, start = 0;
    std::int64_t pos = -1;
    std::istringstream in(c.output);
    for (std::string line; std::getline(in, line);) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        const bool numeric = end != value.c_str();
        if (key == "pts_time") pts = numeric ? number : NAN;
        if (key == "dts_time") dts = numeric ? number : NAN;
        if (key == "pos") pos = numeric ? static_cast<std::int64_t>(number) : -1;
        if (key == "start_time" && numeric) start = number;
        if (key == "flags") {
            const double t = std::isnan(pts) ? dts : pts;
            if (value.find('K') != std::string::npos && !std::isnan(t) && pos >= 0) keys.push_back({t, pos});
            pts = dts = NAN;
            pos = -1;
        }
    }
    std::optional<Key> first;
    for (const Key& k : keys)
        if (k.time - start >= seconds - 0.0005 && (!first || k.time < first->time)) first = k;
    if (!first) return std::nullopt;
    return first->pos;
}

// A -ss value as the player reads it: seconds, or [[hh:]mm:]ss[.f].
std::optional<double> seekSeconds(const std::string& text)
{
    double seconds = 0;
    size_t from = 0;
    for (int field = 0; field < 3; ++field) {
        const size_t colon = text.find(':', from);
        const std::string part = text.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        char* end = nullptr;
        const double v = std::strtod(part.c_str(), &end);
        if (part.empty() || *end != '\0' || !(v >= 0)) return std::nullopt;
        seconds = seconds * 60 + v;
        if (colon == std::string::npos) return seconds;
        from = colon + 1;
    }
    return std::nullopt;
}

} // namespace

std::optional<AsfLayout> parseAsfLayout(std::string_view head)
{
    if (!isGuid(head, 0, kHeaderObject) || head.size() < 30) return std::nullopt;
    const std::uint64_t headerSize = le(head, 16, 8);
    AsfLayout layout;
    bool properties = false;
    for (size_t at = 30; at + 24 <= head.size() && at + 24 <= headerSize;) {
        const std::uint64_t size = le(head, at + 16, 8);
        if (size < 24 || size > headerSize - at) return std::nullopt;
        if (isGuid(head, at, kFileProperties) && size >= 104 && at + 104 <= head.size()) {
            const auto minPacket = static_cast<std::uint32_t>(le(head, at + 92, 4));
            layout.packetSize = static_cast<std::uint32_t>(le(head, at + 96, 4));
            layout.maxBitrate = static_cast<std::uint32_t>(le(head, at + 100, 4));
            if (minPacket != layout.packetSize) return std::nullopt;
            properties = true;
        }
        at += static_cast<size_t>(size);
    }
    if (!properties || layout.packetSize == 0 || layout.maxBitrate == 0) return std::nullopt;
    if (!isGuid(head, static_cast<size_t>(headerSize), kDataObject)) return std::nullopt;
    layout.firstPacket = static_cast<std::int64_t>(headerSize) + kDataObjectHead;
    return layout;
}

double asfSeekFor(const AsfLayout& layout, std::int64_t pos)
{
    // The player counts whole packets of (bit rate / 8 / packet size) per second; half a
    // packet more keeps the count off the boundary.
    const std::int64_t packets = std::max<std::int64_t>(0, (pos - layout.firstPacket) / layout.packetSize);
    return (static_cast<double>(packets) + 0.5) * layout.packetSize * 8.0 / layout.maxBitrate;
}

std::vector<std::string> timeAccurateAsfSeek(std::vector<std::string> args, const AsfSeekFacts& facts)
{
    if (args.empty() || !facts.layout || !facts.keyFramePacket) return args;
    const std::string& source = args.back();
    for (size_t i = 0; i + 2 < args.size(); ++i) {
        if (args[i] != "-ss") continue;
        const std::optional<double> seconds = seekSeconds(args[i + 1]);
        // No seek at 0: the player starts at the beginning.
        if (!seconds || !(*seconds > 0)) return args;
        const std::optional<AsfLayout> layout = facts.layout(source);
        if (!layout) return args;
        const std::optional<std::int64_t> pos = facts.keyFramePacket(source, *seconds);
        if (!pos) return args;
        char value[32];
        std::snprintf(value, sizeof value, "%.3f", asfSeekFor(*layout, *pos));
        args[i + 1] = value;
        return args;
    }
    return args;
}

AsfSeekFacts fileAsfSeekFacts() { return {fileLayout, ffprobeKeyFramePacket}; }

} // namespace qorvid::tools
