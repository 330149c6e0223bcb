// The player plugin's units: its -ss for ASF sources, moved so that the bit-rate seek lands on
// the key frame a copy cut from that time starts with; subtitle files decoded to UTF-8 for the
// tools, and the player's arguments that read them.
#include "common/subtitle_text.h"
#include "player/asf_seek.h"
#include "player/player_arguments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

using namespace qorvid::tools;

namespace {

void put(std::string& s, size_t at, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
}

// A header object holding one other object and the file properties, then the data object.
std::string asfHead(std::uint32_t minPacket, std::uint32_t maxPacket, std::uint32_t bitrate)
{
    const unsigned char header[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                      0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    const unsigned char props[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                     0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
    const size_t other = 30, properties = other + 40, headerSize = properties + 104;
    std::string s(headerSize + 50, '\0');
    std::memcpy(s.data(), header, 16);
    put(s, 16, headerSize, 8);
    put(s, 24, 2, 4);
    s[other] = 0x11; // some other object
    put(s, other + 16, 40, 8);
    std::memcpy(s.data() + properties, props, 16);
    put(s, properties + 16, 104, 8);
    put(s, properties + 92, minPacket, 4);
    put(s, properties + 96, maxPacket, 4);
    put(s, properties + 100, bitrate, 4);
    std::memcpy(s.data() + headerSize, header, 16);
    s[headerSize] = 0x36; // the data object differs from the header object in its first byte
    return s;
}

} // namespace

TEST(AsfSeek, LayoutFromTheHeader)
{
    std::optional<AsfLayout> l = parseAsfLayout(asfHead(3200, 3200, 428000));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->firstPacket, 174 + 50);
    EXPECT_EQ(l->packetSize, 3200u);
    EXPECT_EQ(l->maxBitrate, 428000u);
    // Packets of varying size or no bit rate: the seek cannot be worked out.
    EXPECT_FALSE(parseAsfLayout(asfHead(1600, 3200, 428000)));
    EXPECT_FALSE(parseAsfLayout(asfHead(3200, 3200, 0)));
    EXPECT_FALSE(parseAsfLayout("RIFF....AVI LIST"));
    std::string cut = asfHead(3200, 3200, 428000);
    EXPECT_FALSE(parseAsfLayout(cut.substr(0, 100)));
}

TEST(AsfSeek, SeekValueReadsBackAsThePacket)
{
    // The player counts int(seconds * bit rate / 8 / packet size) packets from the first one.
    const AsfLayout l{809, 3200, 428000};
    const double packetsPerSecond = 428000.0 / 8 / 3200;
    for (std::int64_t packet : {0, 1, 105, 213, 4000}) {
        const double ss = asfSeekFor(l, 809 + packet * 3200);
        EXPECT_EQ(static_cast<std::int64_t>(std::round(ss * 1000) / 1000 * packetsPerSecond), packet) << packet;
        EXPECT_GT(ss, 0);
    }
    // Measured on a file with these fields: -ss 6.3 lands on the key frame in packet 105.
    EXPECT_NEAR(asfSeekFor(l, 336809), 6.31, 0.01);
}

TEST(AsfSeek, OnlyAnAsfSeekToALaterTimeIsMoved)
{
    double asked = -1;
    AsfSeekFacts facts;
    facts.layout = [](const std::string& file) -> std::optional<AsfLayout> {
        if (file == "a.wmv") return AsfLayout{809, 3200, 428000};
        return std::nullopt;
    };
    facts.keyFramePacket = [&](const std::string&, double seconds) -> std::optional<std::int64_t> {
        asked = seconds;
        if (seconds > 25) return std::nullopt; // past the last key frame
        return 336809;
    };
    using Args = std::vector<std::string>;
    EXPECT_EQ(timeAccurateAsfSeek(Args{"-frames", "1", "-ss", "10.00", "-endpos", "0", "a.wmv"}, facts),
              (Args{"-frames", "1", "-ss", "6.310", "-endpos", "0", "a.wmv"}));
    EXPECT_EQ(timeAccurateAsfSeek(Args{"-ss", "00:00:12.5", "a.wmv"}, facts)[1], "6.310");
    EXPECT_DOUBLE_EQ(asked, 12.5);
    for (const Args& same : {Args{"-ss", "10", "a.avi"}, Args{"-ss", "0.00", "a.wmv"}, Args{"-ss", "26", "a.wmv"},
                             Args{"-ss", "ten", "a.wmv"}, Args{"a.wmv"}})
        EXPECT_EQ(timeAccurateAsfSeek(same, facts), same) << same[0] << " " << (same.size() > 1 ? same[1] : "");
}

TEST(SubtitleText, EachCodePageDecodesToUtf8AndAMarkWinsOverTheCodePage)
{
    struct Case {
        std::string bytes, codepage, expected;
    } cases[] = {
        {"\xa4\xa4\xa4\xe5", "cp950", "中文"},
        {"\xd6\xd0\xce\xc4", "cp936", "中文"},
        {"\xb3\xf3" "d\x9f", "cp1250", "łódź"},
        {std::string("\xff\xfe\x2d\x4e\x87\x65", 6), "unicode", "中文"},
        {std::string("\x2d\x4e\x87\x65", 4), "unicode", "中文"}, // no mark: little-endian
        {std::string("\xfe\xff\x4e\x2d\x65\x87", 6), "", "中文"},
        {std::string("\xff\xfe\x2d\x4e", 4), "cp950", "中"},
        {"\xef\xbb\xbfHello", "cp936", "Hello"},
        {"caf\xe9", "", "café"},       // not UTF-8 under the default: the Western code page
        {"\xa4\xa4\xff\xa4\xe5", "cp950", "中\xEF\xBF\xBD文"}, // a byte Big5 has no use for
        {std::string("\xff\xfe\x2d\x4e\x87", 5), "", "中\xEF\xBF\xBD"}, // cut off in the middle
    };
    for (const Case& c : cases) {
        const auto text = subtitleAsUtf8(c.bytes, c.codepage);
        ASSERT_TRUE(text.has_value()) << c.codepage << " " << c.expected;
        EXPECT_EQ(*text, c.expected) << c.codepage;
    }
    // UTF-8 stays as it is, without a copy, under the default and under "unicode".
    EXPECT_FALSE(subtitleAsUtf8("中文 text", "").has_value());
    EXPECT_FALSE(subtitleAsUtf8("中文 text", "unicode").has_value());
    EXPECT_FALSE(subtitleAsUtf8("", "").has_value());
}

TEST(SubtitleText, ThePlayerReadsAUtf8CopyAndTheCodePageIsDropped)
{
    const std::string file = testing::TempDir() + "big5.srt";
    std::ofstream(file, std::ios::binary) << "1\n00:00:01,000 --> 00:00:02,000\n\xa4\xa4\xa4\xe5\n";
    Utf8Subtitle copy;
    std::vector<std::string> args = {"-subcp", "cp950", "-sub", file, "-subdelay", "0", "-subcp", "cp950", "in.avi"};
    readSubtitlesAsUtf8(args, copy);
    EXPECT_EQ(args, (std::vector<std::string>{"-sub", copy.path(), "-subdelay", "0", "in.avi", "-utf8"}));
    std::ifstream in(copy.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "1\n00:00:01,000 --> 00:00:02,000\n中文\n");

    // A UTF-8 file is read where it is; no subtitle, no change.
    std::ofstream(file, std::ios::binary) << "1\n00:00:01,000 --> 00:00:02,000\n中文\n";
    Utf8Subtitle same;
    std::vector<std::string> plain = {"-sub", file, "in.avi"};
    readSubtitlesAsUtf8(plain, same);
    EXPECT_EQ(plain, (std::vector<std::string>{"-sub", file, "in.avi", "-utf8"}));
    std::vector<std::string> none = {"-vo", "x11", "in.avi"};
    readSubtitlesAsUtf8(none, same);
    EXPECT_EQ(none.size(), 3u);
}

TEST(SubtitleText, ThePlayerDrawsTheTextWithLibassInTheEncodersLook)
{
    std::vector<std::string> args = {"-sub", "a.srt", "-subfont-outline", "3", "-subfont-blur", "8", "-subpos", "95", "in.avi"};
    drawSubtitlesWithLibass(args);
    ASSERT_EQ(args.size(), 16u);
    EXPECT_EQ(args[9], "-ass");
    EXPECT_EQ(args.back(), "Outline=3.0,Blur=2.8,Shadow=0,BorderStyle=1,Alignment=2,MarginV=14");
    std::vector<std::string> none = {"in.avi"};
    drawSubtitlesWithLibass(none);
    EXPECT_EQ(none.size(), 1u);
}
