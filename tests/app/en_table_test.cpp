// The English table against the Traditional one it was written from.
#include "app/lang_text.h"

#include "support/lang.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using qorvid::LangText;
using qorvid::Msg;

namespace {

const LangText& en()
{
    static const LangText lang = [] {
        LangText l;
        l.load("en");
        return l;
    }();
    return lang;
}

// The code points of a UTF-8 text; nullopt when the bytes are not valid UTF-8.
std::optional<std::vector<char32_t>> codePoints(const std::string& s)
{
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) return std::nullopt;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(s[i + k]);
            if ((cont & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (cont & 0x3F);
        }
        out.push_back(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

bool isChineseScript(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF)     // radicals, CJK punctuation, kana, ideographs
           || (c >= 0xF900 && c <= 0xFAFF)  // compatibility ideographs
           || (c >= 0xFE30 && c <= 0xFE4F)  // vertical and small forms
           || (c >= 0xFF00 && c <= 0xFFEF)  // full-width forms: "，", "：", "（"
           || (c >= 0x20000 && c <= 0x3FFFF);
}

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

} // namespace

TEST(EnglishTable, HasNoChineseCharacters)
{
    ASSERT_EQ(en().code(), "en");
    for (int key = 0; key < LangText::kSize; ++key) {
        auto points = codePoints(en().byNumber(key));
        ASSERT_TRUE(points) << key << ": not UTF-8";
        for (char32_t c : *points)
            EXPECT_FALSE(isChineseScript(c)) << key << ": " << en().byNumber(key) << " (U+" << std::hex
                                              << static_cast<unsigned>(c) << ")";
    }
}

TEST(EnglishTable, KeepsThePlaceholdersAndTheJoiningEndsOfEachRow)
{
    const LangText& tw = qorvid::test::tw();
    for (int key = 0; key < LangText::kSize; ++key) {
        SCOPED_TRACE(key);
        const std::string& t = tw.byNumber(key);
        const std::string& e = en().byNumber(key);
        EXPECT_EQ(t.empty(), e.empty());
        for (const char* p : {"aaa", "bbb", "ccc", "ddd", "eee", "fff", "ggg", "hhh", "iii"})
            EXPECT_EQ(count(e, p), count(t, p)) << p << " in " << e;
        // Other text is appended to these or put before them.
        if (t.ends_with(" = ")) {
            EXPECT_TRUE(e.ends_with(" = ")) << e;
        }
        if (t.ends_with(' ')) {
            EXPECT_TRUE(e.ends_with(' ')) << '"' << e << '"';
        }
        if (t.starts_with(' ')) {
            EXPECT_TRUE(e.starts_with(' ')) << '"' << e << '"';
        }
    }
}

// English needs a blank where the program puts two pieces together; Chinese needs none.
TEST(EnglishTable, PiecesThatTheProgramJoinsMeetAtOneBlank)
{
    const LangText& L = en();
    const std::string soundKind = L[Msg::SoundWord] + " MP3";
    // The sound target's title is left out: the program ends it with a blank of its own.
    const std::string titles[] = {L[Msg::Convert], L[Msg::CutWord] + L[Msg::VideoWord], L[Msg::RepairWord] + L[Msg::VideoWord], L[Msg::Adjust] + L[Msg::Volume]};
    struct Join {
        std::string left, right;
    };
    std::vector<Join> joins = {
        {L[Msg::Start], L[Msg::Convert]}, {L[Msg::Stop], L[Msg::Convert]}, {L[Msg::Start], L[Msg::CutWord]}, {L[Msg::Start], L[Msg::RepairWord]}, {L[Msg::Start], L[Msg::Adjust]}, // encode button faces
        {L[Msg::Convert], L[Msg::SettingsSuffix]}, {L[Msg::CutWord], L[Msg::SettingsSuffix]}, {L[Msg::Volume], L[Msg::SettingsSuffix]},                                  // options button
        {L[Msg::CutWord], L[Msg::VideoWord]}, {L[Msg::RepairWord], L[Msg::VideoWord]}, {L[Msg::Adjust], L[Msg::Volume]}, {L[Msg::ConvertTo], soundKind},             // job titles
        {L[Msg::ListSeparator], L[Msg::Took]},  {L[Msg::Took], "12.3"}, {"12.3", L[Msg::Seconds]},                                  // ", took 12.3 s"
        {L[Msg::GettingReady], L[Msg::Convert]}, {L[Msg::GoTo], " 83.4"}, {"83.4", L[Msg::Seconds]},                               // confirmation, progress
        {L[Msg::SourcePictureSize], "320 x 240"}, {L[Msg::SourceLength], "00:01:23"}, {L[Msg::FrameRateSuffix], "25"}, {L[Msg::CpuUsage], "12.5"},      // labels and meters
        {L[Msg::AlwaysIn], "/home/"}, {L[Msg::RebuildingIndex], "42"}, {L[Msg::AviSoundToMp3], "PCM"}, {L[Msg::PlayingPosition], " 42 %"}, {L[Msg::PausedPosition], " 42 %"},
        {L[Msg::ConvertVideoTo], " DAT [VCD]"}, {L[Msg::ToSoundMenu], " WAV"}, {L[Msg::CustomTimes], L[Msg::OriginalRatio]}, {L[Msg::CustomTimes], "4:3"},    // menus and lists
        {L[Msg::ContinuousScreenshotNote], "shot.png"}, {L[Msg::SingleScreenshotNote], "shot.png"}, {L[Msg::SetFrameRate], "25"},
    };
    for (const std::string& title : titles)
        for (Msg after : {Msg::Succeeded, Msg::Failed, Msg::Interrupted}) joins.push_back({title, L[after]});
    for (const Join& j : joins) {
        const int blanks = (j.left.ends_with(' ') ? 1 : 0) + (j.right.starts_with(' ') ? 1 : 0);
        EXPECT_EQ(blanks, 1) << '"' << j.left << "\" + \"" << j.right << '"';
        EXPECT_FALSE(j.left.ends_with("  ") || j.right.starts_with("  ")) << '"' << j.left << j.right << '"';
    }
}
