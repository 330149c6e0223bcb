// The English table against the Traditional one it was written from.
#include "app/lang_text.h"

#include "support/lang.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using qorvid::LangText;

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
        auto points = codePoints(en()[key]);
        ASSERT_TRUE(points) << key << ": not UTF-8";
        for (char32_t c : *points)
            EXPECT_FALSE(isChineseScript(c)) << key << ": " << en()[key] << " (U+" << std::hex
                                              << static_cast<unsigned>(c) << ")";
    }
}

TEST(EnglishTable, KeepsThePlaceholdersAndTheJoiningEndsOfEachRow)
{
    const LangText& tw = qorvid::test::tw();
    for (int key = 0; key < LangText::kSize; ++key) {
        SCOPED_TRACE(key);
        const std::string& t = tw[key];
        const std::string& e = en()[key];
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
    const std::string soundKind = L[264] + " MP3";
    // The sound target's title is left out: the program ends it with a blank of its own.
    const std::string titles[] = {L[15], L[52] + L[54], L[53] + L[54], L[38] + L[66]};
    struct Join {
        std::string left, right;
    };
    std::vector<Join> joins = {
        {L[13], L[15]}, {L[14], L[15]}, {L[13], L[52]}, {L[13], L[53]}, {L[13], L[38]}, // encode button faces
        {L[15], L[27]}, {L[52], L[27]}, {L[66], L[27]},                                  // options button
        {L[52], L[54]}, {L[53], L[54]}, {L[38], L[66]}, {L[162], soundKind},             // job titles
        {L[26], L[7]},  {L[7], "12.3"}, {"12.3", L[8]},                                  // ", took 12.3 s"
        {L[50], L[15]}, {L[125], " 83.4"}, {"83.4", L[8]},                               // confirmation, progress
        {L[19], "320 x 240"}, {L[20], "00:01:23"}, {L[78], "25"}, {L[159], "12.5"},      // labels and meters
        {L[273], "/home/"}, {L[104], "42"}, {L[261], "PCM"}, {L[177], " 42 %"}, {L[182], " 42 %"},
        {L[148], " DAT [VCD]"}, {L[151], " WAV"}, {L[270], L[269]}, {L[270], "4:3"},    // menus and lists
        {L[105], "shot.png"}, {L[106], "shot.png"}, {L[58], "25"},
    };
    for (const std::string& title : titles)
        for (int after : {5, 6, 45}) joins.push_back({title, L[after]});
    for (const Join& j : joins) {
        const int blanks = (j.left.ends_with(' ') ? 1 : 0) + (j.right.starts_with(' ') ? 1 : 0);
        EXPECT_EQ(blanks, 1) << '"' << j.left << "\" + \"" << j.right << '"';
        EXPECT_FALSE(j.left.ends_with("  ") || j.right.starts_with("  ")) << '"' << j.left << j.right << '"';
    }
}
