// The message tables: how they load, and what every row must keep in each language.
#include "app/lang_text.h"
#include "support/lang.h"

#include <gtest/gtest.h>

using qorvid::fillPlaceholders;
using qorvid::test::loadedLang;
using qorvid::LangText;
using qorvid::Msg;

namespace {

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

} // namespace

TEST(LangText, LoadingRuleOnRawText)
{
    LangText lang;
    EXPECT_EQ(lang[Msg::ChooseSourceFirst], "");
    lang.loadFromText("language=Test\r\nlng=xx\r\n300=last\r\n301=beyond\r\n"
                      "007=a\\nb\r\nno equals sign\r\n=5\r\nabc=word\r\n005=x=y\r\n"
                      "008= keep spaces \r\n99999999999999999999=huge");
    EXPECT_EQ(lang.byNumber(300), "last");
    EXPECT_EQ(lang.byNumber(301), "");
    EXPECT_EQ(lang[Msg::Took], "a\r\nb");
    EXPECT_EQ(lang[Msg::Succeeded], "x=y");         // only the first "=" splits
    EXPECT_EQ(lang[Msg::Seconds], " keep spaces "); // trailing spaces belong to the text
    EXPECT_EQ(lang.byNumber(0), "");                // "=5" has its "=" first: skipped
    // A later table replaces what it mentions and leaves the rest.
    lang.loadFromText("007=new\r\n");
    EXPECT_EQ(lang[Msg::Took], "new");
    EXPECT_EQ(lang.byNumber(300), "last");
}

TEST(LangText, SwitchingTablesReplacesEveryMessageAndUnknownCodesChangeNothing)
{
    LangText fresh = loadedLang("en"), switched = loadedLang("TW"); // codes match without regard to case
    EXPECT_EQ(switched.code(), "tw");
    ASSERT_TRUE(switched.load("en"));
    for (int key = 0; key < LangText::kSize; ++key) EXPECT_EQ(switched.byNumber(key), fresh.byNumber(key)) << key;
    EXPECT_FALSE(switched.load("fr"));
    EXPECT_FALSE(switched.load(""));
    EXPECT_EQ(switched.code(), "en");
    EXPECT_EQ(switched[Msg::Ok], "OK");
}

TEST(LangTables, EveryRowKeepsItsPlaceholdersAndJoiningBlanksInEachLanguage)
{
    const LangText& tw = qorvid::test::tw();
    for (const char* code : {"gb", "en"}) {
        const LangText other = loadedLang(code);
        for (int key = 1; key < LangText::kSize; ++key) {
            SCOPED_TRACE(std::string(code) + " " + std::to_string(key));
            const std::string &t = tw.byNumber(key), &o = other.byNumber(key);
            EXPECT_EQ(t.empty(), o.empty());
            if (key <= 279 && key != 109) { EXPECT_FALSE(o.empty()); } // 109 has no text in any table
            for (const char* p : {"aaa", "bbb", "ccc", "ddd", "eee", "fff", "ggg", "hhh", "iii"})
                EXPECT_EQ(count(o, p), count(t, p)) << p << " in " << o;
            // Other text is appended to these or put before them.
            if (t.ends_with(' ')) { EXPECT_TRUE(o.ends_with(' ')) << '"' << o << '"'; }
            if (t.starts_with(' ')) { EXPECT_TRUE(o.starts_with(' ')) << '"' << o << '"'; }
            for (unsigned char c : o) // lead bytes of CJK and full-width forms
                if (std::string(code) == "en") { EXPECT_FALSE((c >= 0xE3 && c <= 0xE9) || c == 0xEF) << o; }
            for (const char* traditional : {"來", "體", "轉", "檔", "設", "開", "關", "處", "這", "標"})
                if (std::string(code) == "gb") { EXPECT_EQ(o.find(traditional), std::string::npos) << o; }
        }
    }
}

// English needs a blank where the program puts two pieces together; Chinese needs none.
TEST(LangTables, EnglishPiecesThatTheProgramJoinsMeetAtOneBlank)
{
    const LangText L = loadedLang("en");
    const std::pair<std::string, std::string> joins[] = {
        {L[Msg::Start], L[Msg::Convert]}, {L[Msg::Stop], L[Msg::Convert]}, {L[Msg::Start], L[Msg::CutWord]},
        {L[Msg::Start], L[Msg::RepairWord]}, {L[Msg::Start], L[Msg::Adjust]}, {L[Msg::Convert], L[Msg::SettingsSuffix]},
        {L[Msg::CutWord], L[Msg::SettingsSuffix]}, {L[Msg::Volume], L[Msg::SettingsSuffix]},
        {L[Msg::CutWord], L[Msg::VideoWord]}, {L[Msg::RepairWord], L[Msg::VideoWord]}, {L[Msg::Adjust], L[Msg::Volume]},
        {L[Msg::ConvertTo], L[Msg::SoundWord] + " MP3"}, {L[Msg::ListSeparator], L[Msg::Took]}, {L[Msg::Took], "12.3"},
        {"12.3", L[Msg::Seconds]}, {L[Msg::GettingReady], L[Msg::Convert]}, {L[Msg::GoTo], " 83.4"},
        {L[Msg::SourcePictureSize], "320 x 240"}, {L[Msg::SourceLength], "00:01:23"}, {L[Msg::FrameRateSuffix], "25"},
        {L[Msg::CpuUsage], "12.5"}, {L[Msg::AlwaysIn], "/home/"}, {L[Msg::RebuildingIndex], "42"},
        {L[Msg::AviSoundToMp3], "PCM"}, {L[Msg::PlayingPosition], " 42 %"}, {L[Msg::PausedPosition], " 42 %"},
        {L[Msg::ConvertVideoTo], " DAT [VCD]"}, {L[Msg::ToSoundMenu], " WAV"}, {L[Msg::CustomTimes], L[Msg::OriginalRatio]},
        {L[Msg::CustomTimes], "4:3"}, {L[Msg::ContinuousScreenshotNote], "shot.png"},
        {L[Msg::SingleScreenshotNote], "shot.png"}, {L[Msg::SetFrameRate], "25"},
        {L[Msg::Convert], L[Msg::Succeeded]}, {L[Msg::Convert], L[Msg::Failed]}, {L[Msg::Convert], L[Msg::Interrupted]},
    };
    for (const auto& [l, r] : joins) {
        EXPECT_EQ((l.ends_with(' ') ? 1 : 0) + (r.starts_with(' ') ? 1 : 0), 1) << '"' << l << "\" + \"" << r << '"';
        EXPECT_FALSE(l.ends_with("  ") || r.starts_with("  ")) << '"' << l << r << '"';
    }
}

TEST(FillPlaceholders, EveryOccurrenceInOrderAndValuesAreNotReplacedAgain)
{
    std::string text = fillPlaceholders(qorvid::test::tw()[Msg::KeyFrameShiftOk], {"00:01:00.0", "剪輯", "1.5", "A", "B", "C", "0.5"});
    EXPECT_EQ(text.find("bbb"), std::string::npos);
    EXPECT_EQ(count(text, "剪輯"), 3u);
    EXPECT_EQ(fillPlaceholders("aaa and bbb", {"bbb.avi", "x"}), "bbb.avi and x");
    EXPECT_EQ(fillPlaceholders("aaaa ccc", {"1", "2"}), "1a ccc"); // no value for ccc
}
