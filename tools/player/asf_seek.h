#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorvid::tools {

// The player's ASF seek does not go by time: it starts reading at the data packet the
// header's bit rate puts at the time asked, then takes the next key frame. These are the
// header fields it goes by.
struct AsfLayout {
    std::int64_t firstPacket = 0; // byte position of the first data packet
    std::uint32_t packetSize = 0;
    std::uint32_t maxBitrate = 0; // bits per second
};

// Reads the layout from the file's first bytes; nullopt for a file that is not ASF, or an
// ASF file whose seek cannot be worked out (packets of varying size, no bit rate).
std::optional<AsfLayout> parseAsfLayout(std::string_view head);

// The -ss value at which the player's seek starts reading at the packet at byte position pos.
double asfSeekFor(const AsfLayout& layout, std::int64_t pos);

struct AsfSeekFacts {
    std::function<std::optional<AsfLayout>(const std::string& file)> layout;
    // The byte position of the packet of the first key frame at or after the time (from the
    // file's beginning), as a copy cut finds it.
    std::function<std::optional<std::int64_t>(const std::string& file, double seconds)> keyFramePacket;
};

// The arguments with an ASF source's -ss (the source is the last argument) replaced by the
// value at which the player lands on the first key frame at or after the time asked, where a
// copy cut from that time starts; other arguments are returned unchanged.
std::vector<std::string> timeAccurateAsfSeek(std::vector<std::string> args, const AsfSeekFacts& facts);

// The answers from the file's header and from ffprobe.
AsfSeekFacts fileAsfSeekFacts();

} // namespace qorvid::tools
