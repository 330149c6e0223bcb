#include "app/lang_text.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <string>

using qorvid::fillPlaceholders;
using qorvid::LangText;
using qorvid::Msg;

namespace {

bool hasTraditionalOnlyCharacter(const std::string& s)
{
    for (const char* ch : {"來", "體", "轉", "檔", "設", "開", "關", "處", "這", "標"})
        if (s.find(ch) != std::string::npos) return true;
    return false;
}

} // namespace

TEST(LangText, LoadingRuleOnRawText)
{
    LangText lang;
    EXPECT_EQ(lang[Msg::ChooseSourceFirst], "");
    EXPECT_EQ(lang.byNumber(301), "");
    lang.loadFromText("language=Test\r\nlng=xx\r\n300=last\r\n301=beyond\r\n"
                      "007=a\\nb\r\nno equals sign\r\n=5\r\nabc=word\r\n005=x=y\r\n"
                      "008= keep spaces \r\n99999999999999999999=huge");
    EXPECT_EQ(lang.byNumber(300), "last");
    EXPECT_EQ(lang[Msg::Took], "a\r\nb");
    EXPECT_EQ(lang[Msg::Succeeded], "x=y");              // only the first "=" splits
    EXPECT_EQ(lang[Msg::Seconds], " keep spaces ");    // trailing spaces belong to the text
    EXPECT_EQ(lang.byNumber(0), "");                 // "=5" has its "=" first: skipped

    // A later table replaces what it mentions and leaves the rest.
    lang.loadFromText("007=new\r\n");
    EXPECT_EQ(lang[Msg::Took], "new");
    EXPECT_EQ(lang.byNumber(300), "last");
}

TEST(LangText, CompiledTablesHaveEveryKeyAndTheirHeaders)
{
    for (const char* code : {"tw", "gb", "en"}) {
        LangText lang;
        ASSERT_TRUE(lang.load(code)) << code;
        EXPECT_EQ(lang.code(), code);
        for (int key = 1; key <= 279; ++key) {
            if (key == 109) continue; // a key without text in the tables
            EXPECT_FALSE(lang.byNumber(key).empty()) << code << " " << key;
        }
        EXPECT_EQ(lang.byNumber(280), "");
    }
}

TEST(LangText, TraditionalTextsAsGiven)
{
    LangText lang;
    ASSERT_TRUE(lang.load("TW")); // codes match without regard to case
    EXPECT_EQ(lang.code(), "tw");
    EXPECT_EQ(lang[Msg::NoSourceYet], "尚未指定來源影音");
    EXPECT_EQ(lang[Msg::Took], "費時 ");
    EXPECT_EQ(lang[Msg::Seconds], " 秒");
    EXPECT_EQ(lang[Msg::SetTargetFormat], "設定目標影音格式 =  ");
    EXPECT_EQ(lang[Msg::SingleScreenshotNote], "請注意，正在單張截圖\r\n截圖檔名 --> ");
    EXPECT_EQ(lang[Msg::ConfirmQuit], "確定要離開\r\nQorvid？");
}

TEST(LangText, EnglishAfterTraditionalReplacesEveryMessage)
{
    // No Traditional text may survive a switch: the English table names every key the other one does.
    LangText fresh, switched;
    ASSERT_TRUE(fresh.load("en"));
    ASSERT_TRUE(switched.load("tw"));
    ASSERT_TRUE(switched.load("en"));
    for (int key = 0; key < LangText::kSize; ++key) EXPECT_EQ(switched.byNumber(key), fresh.byNumber(key)) << key;
    EXPECT_EQ(switched.code(), "en");
    EXPECT_EQ(switched[Msg::Ok], "OK");
    EXPECT_EQ(switched[Msg::Cancel], "Cancel");
}

TEST(LangText, UnknownCodeChangesNothing)
{
    LangText lang;
    ASSERT_TRUE(lang.load("tw"));
    EXPECT_FALSE(lang.load("fr"));
    EXPECT_FALSE(lang.load(""));
    EXPECT_EQ(lang.code(), "tw");
    EXPECT_EQ(lang[Msg::NoSourceYet], "尚未指定來源影音");
}

TEST(LangText, SimplifiedTableWithItsOwnFontRows)
{
    LangText gb;
    ASSERT_TRUE(gb.load("gb"));
    EXPECT_EQ(gb[Msg::NoSourceYet], "尚未指定来源影音");
    EXPECT_EQ(gb[Msg::ChooseSourceFirst], "请先指定存在的来源影音");
    EXPECT_EQ(gb[Msg::Took], "费时 ");
    EXPECT_EQ(gb[Msg::FontMingLiU], "宋体 & 新宋体 & 宋体_HKSCS");
    EXPECT_EQ(gb[Msg::FontMingLiUExtB], "宋体-ExtB & 新宋体-ExtB & 宋体_HKSCS-ExtB");
    EXPECT_EQ(gb[Msg::FontYaHeiBold], "微软雅黑 Bold");
    EXPECT_EQ(gb[Msg::FontDFKai], "楷体_GB2312");

    LangText tw;
    ASSERT_TRUE(tw.load("tw"));
    EXPECT_EQ(tw[Msg::FontDFKai], "標楷體");
    for (int key = 1; key <= 279; ++key) {
        EXPECT_FALSE(hasTraditionalOnlyCharacter(gb.byNumber(key))) << key << ": " << gb.byNumber(key);
        // Placeholders survive the conversion.
        for (const char* p : {"aaa", "bbb", "ccc"})
            EXPECT_EQ(tw.byNumber(key).find(p) == std::string::npos, gb.byNumber(key).find(p) == std::string::npos) << key;
    }
}

TEST(LangText, TextsOfOurOwnNameNoMakerOrAccount)
{
    for (const char* code : {"tw", "gb", "en"}) {
        LangText lang;
        ASSERT_TRUE(lang.load(code));
        for (int key : {112, 118, 137})
            for (const char* banned : {"http", "www", "@", "部落格"})
                EXPECT_EQ(lang.byNumber(key).find(banned), std::string::npos) << code << " " << key;
    }
}

TEST(FillPlaceholders, EveryOccurrenceInOrder)
{
    LangText lang;
    ASSERT_TRUE(lang.load("tw"));
    std::string text = fillPlaceholders(lang[Msg::KeyFrameShiftOk], {"00:01:00.0", "剪輯", "1.5", "A", "B", "C", "0.5"});
    EXPECT_EQ(text.find("bbb"), std::string::npos);
    size_t count = 0;
    for (size_t at = text.find("剪輯"); at != std::string::npos; at = text.find("剪輯", at + 1)) ++count;
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(fillPlaceholders(lang[Msg::ProgressPercent], {"42"}), "處理進度 42 %");
}

TEST(FillPlaceholders, ValuesAreNotReplacedAgain)
{
    EXPECT_EQ(fillPlaceholders("aaa and bbb", {"bbb.avi", "x"}), "bbb.avi and x");
    EXPECT_EQ(fillPlaceholders("aaaa ccc", {"1", "2"}), "1a ccc"); // no value for ccc
    EXPECT_EQ(fillPlaceholders("", {"1"}), "");
}

TEST(LangTables, FilesHaveTheirHeadersAndCrLfLines)
{
    const std::pair<const char*, const char*> tables[] = {
        {"tw", "language=Chinese (Traditional)\r\nlng=tw\r\n001="},
        {"gb", "language=Chinese (Simplified)\r\nlng=gb\r\n001="},
        {"en", "language=English\r\nlng=en\r\n001="},
    };
    for (const auto& [code, head] : tables) {
        std::string text = qorvid::test::readFile(qorvid::test::sourceDir() + "app/lang/" + code + ".txt");
        EXPECT_EQ(text.rfind(head, 0), 0u) << code;
        // The last key closes the file, and with a line end of its own.
        EXPECT_TRUE(text.ends_with("\r\n")) << code;
        EXPECT_EQ(text.rfind("\r\n279=", text.size() - 3), text.rfind("\r\n", text.size() - 3)) << code;
        size_t lines = 0;
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') {
                ++lines;
                EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << code << " line " << lines;
            }
        EXPECT_EQ(lines, 281u) << code;
    }
}
