// Subtitle files decoded to UTF-8 for the tools, and the player's arguments that read them.
#include "common/subtitle_text.h"
#include "player/player_arguments.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qorvid::tools;

namespace {

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

} // namespace
