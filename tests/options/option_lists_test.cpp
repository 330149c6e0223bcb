#include "app/lang_text.h"
#include "support/lang.h"
#include "options/option_lists.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::tw;

namespace {
const std::string kNormal = "  (一般)";
} // namespace

TEST(OptionLists, FrameRateListsUpToTheSource)
{
    auto slow = fillFpsListUpToSource(tw(), 12.5f);
    EXPECT_EQ(slow.items, (std::vector<std::string>{"與來源影音相同", "5", "8", "10", "12", "12.5"}));
    EXPECT_EQ(slow.selected, 5);

    // 29.97 kept as a 32-bit value is not "above" the 29.97 item.
    auto ntsc = fillFpsListUpToSource(tw(), 29.97f);
    EXPECT_EQ(ntsc.items.back(), "29.97" + kNormal);
    EXPECT_EQ(ntsc.items.size(), 10u);
    EXPECT_EQ(ntsc.selected, -1);

    auto thirty = fillFpsListUpToSource(tw(), 30);
    EXPECT_EQ(thirty.items.back(), "30");
    EXPECT_EQ(thirty.items[thirty.items.size() - 2], "29.97" + kNormal);

    auto unknown = fillFpsListUpToSource(tw(), 0);
    EXPECT_EQ(unknown.items, std::vector<std::string>{"與來源影音相同"});
    EXPECT_EQ(unknown.selected, 0);

    EXPECT_EQ(fillFpsList(tw(), false).size(), 14u);
    EXPECT_EQ(fillFpsList(tw(), true).front(), "23.976" + kNormal);
    EXPECT_EQ(fillVideoBitrateList(tw(), true).front(), "1152  (品質中)");
    EXPECT_EQ(fillVideoBitrateList(tw(), false)[6], "600  (品質低)");
}

TEST(OptionLists, CodePageTokens)
{
    const auto items = subtitleCodePageList(tw());
    EXPECT_EQ(codePageToken(items[0]), "");
    EXPECT_EQ(codePageToken(items[1]), "cp950");
    EXPECT_EQ(codePageToken(items[3]), "cp1250");
    EXPECT_EQ(codePageToken(items[4]), "unicode");
}

TEST(SetSizeSetting, FixedAndOriginalRatioItems)
{
    const auto items = fillSizeList(tw());
    auto pick = [&](const std::string& text, int w, int h, const std::string& width = "0") {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == text) return SetSizeSetting(static_cast<int>(i), width, "0", w, h);
        ADD_FAILURE() << text;
        return SizeSetting{};
    };
    auto s = pick("640 x 原比例", 720, 576);
    EXPECT_EQ(s.width + "x" + s.height, "640x512");
    EXPECT_FALSE(s.widthEnabled);
    s = pick("640 x 原比例", 0, 0); // unknown source size: ratio 1
    EXPECT_EQ(s.width + "x" + s.height, "640x640");
    s = pick("352 x 288", 720, 576);
    EXPECT_EQ(s.width + "x" + s.height, "352x288");
    EXPECT_FALSE(s.widthEnabled || s.heightEnabled);
    s = pick("320 x 原比例", 1000, 1500); // 480, even
    EXPECT_EQ(s.height, "480");
    s = pick("480 x 原比例", 1280, 545); // 204.375 → 204
    EXPECT_EQ(s.height, "204");
    s = pick("480 x 原比例", 1280, 548); // 205.5 → 205, odd → 206
    EXPECT_EQ(s.height, "206");
}

TEST(SetSizeSetting, CustomItemsFollowTheTypedWidth)
{
    const auto items = fillSizeList(tw());
    auto s = SetSizeSetting(5, "0", "0", 352, 288); // 16:9, width 0: the source's
    EXPECT_EQ(s.width + "x" + s.height, "352x198");
    EXPECT_TRUE(s.widthEnabled);
    EXPECT_FALSE(s.heightEnabled);

    s = SetSizeSetting(3, "330", "0", 720, 576); // 4:3: 247.5 → 247 → 248
    EXPECT_EQ(s.width + "x" + s.height, "330x248");
    s = SetSizeSetting(4, "320", "0", 720, 576); // 1.66:1
    EXPECT_EQ(s.height, "192");
    s = SetSizeSetting(2, "500", "0", 720, 576); // custom width, original ratio
    EXPECT_EQ(s.width + "x" + s.height, "500x400");
    EXPECT_TRUE(s.widthEnabled);

    s = SetSizeSetting(1, "123", "456", 720, 576); // free size keeps both boxes
    EXPECT_EQ(s.width + "x" + s.height, "123x456");
    EXPECT_TRUE(s.widthEnabled && s.heightEnabled);

    s = SetSizeSetting(0, "123", "456", 720, 576);
    EXPECT_EQ(s.width + "x" + s.height, "720x576");
    EXPECT_FALSE(s.widthEnabled || s.heightEnabled);
}

TEST(SetSizeSetting, EverySizeItemWorksTheSameInEveryLanguage)
{
    const auto twItems = fillSizeList(tw());
    for (const char* code : {"gb", "en"}) {
        LangText lang;
        lang.load(code);
        const auto items = fillSizeList(lang);
        ASSERT_EQ(items.size(), twItems.size()) << code;
        for (size_t i = 0; i < items.size(); ++i) {
            const int n = static_cast<int>(i);
            for (auto [w, h] : {std::pair{720, 576}, {0, 0}, {352, 288}}) {
                const SizeSetting a = SetSizeSetting(n, "300", "200", w, h);
                const SizeSetting b = SetSizeSetting(n, "300", "200", w, h);
                EXPECT_EQ(b.width + "x" + b.height, a.width + "x" + a.height) << code << " " << items[i];
                EXPECT_EQ(b.widthEnabled, a.widthEnabled) << code << " " << items[i];
            }
        }
    }
    // The English list reads in English.
    LangText en;
    en.load("en");
    for (const std::string& item : fillSizeList(en))
        for (unsigned char c : item) EXPECT_LT(c, 0x80) << item;
}
