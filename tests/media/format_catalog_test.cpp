#include "app/lang_text.h"
#include "media/format_catalog.h"

#include <gtest/gtest.h>
#include <set>

using namespace qorvid;

namespace {
LangText load(const char* code)
{
    LangText lang;
    lang.load(code);
    return lang;
}
} // namespace

TEST(FormatCatalog, KeysAndMenuEntriesAreUnique)
{
    std::set<std::string_view> keys;
    std::set<std::pair<std::string_view, int>> entries;
    for (const auto& e : formatCatalog()) {
        EXPECT_TRUE(keys.insert(e.key).second) << e.key;
        EXPECT_TRUE(entries.insert({e.menu, e.menuIndex}).second) << e.key;
        EXPECT_EQ(findFormat(e.key), &e);
    }
    EXPECT_EQ(keys.size(), 28u);
    EXPECT_EQ(findFormatByMenu("mnuSrcIsFileToMpg", 2), nullptr); // the separator
    EXPECT_EQ(findFormatByMenu("mnuSrcIsFileToMpg", 4)->key, "mpeg2");
    EXPECT_EQ(findFormat("mpeg3"), nullptr);
}

TEST(FormatCatalog, CaptionsKindsAndFormats)
{
    const LangText tw = load("tw");
    const FormatEntry& mpeg2 = *findFormat("mpeg2");
    EXPECT_EQ(menuCaption(mpeg2, tw), "選擇某個影片，轉成 MPG [MPEG2]  (推薦)");
    EXPECT_EQ(formatCaption(mpeg2, tw), "MPEG2");
    EXPECT_EQ(kindCaption(mpeg2.kind, tw), "MPEG2");

    const FormatEntry& audMp3 = *findFormat("audmp3");
    EXPECT_EQ(menuCaption(audMp3, tw), "選擇某個影片，轉成 AVI  [視訊不變 + MP3]");
    EXPECT_EQ(formatCaption(audMp3, tw), "視訊不變 + MP3");
    EXPECT_EQ(formatCaption(*findFormat("mp42-avi"), tw), "MP42 + MP3");

    const FormatEntry& mp3 = *findFormat("mp3");
    EXPECT_EQ(menuCaption(mp3, tw), "選擇影片／音樂，轉成聲音 MP3");
    EXPECT_EQ(kindCaption(mp3.kind, tw), "聲音 MP3");
    EXPECT_EQ(formatCaption(mp3, tw), "聲音 MP3");
    EXPECT_EQ(targetExt(mp3), "mp3");

    const FormatEntry& vol = *findFormat("volume-mpg");
    EXPECT_EQ(menuCaption(vol, tw), "選擇某個 MPG、DAT、VOB 來調整音量");
    const LangText en = load("en");
    EXPECT_EQ(menuCaption(vol, en), fillPlaceholders(en[Msg::ChangeVolumeMany], {"MPG, DAT, VOB"}));
    EXPECT_EQ(menuCaption(*findFormat("fix-avi"), tw), "選擇某個 AVI  來直接修復");
    EXPECT_EQ(kindCaption(vol.kind, tw), "onlyTransVol");
    EXPECT_EQ(targetExt(vol), "mpg|dat|vob");
    EXPECT_EQ(formatCaption(vol, tw), "與來源影音相同");
}

TEST(FormatCatalog, KindsAreOneTypeWithKeys)
{
    const LangText tw = load("tw"), gb = load("gb");
    // The caption follows the language; the kind does not.
    EXPECT_NE(kindCaption(TargetKind::Ogg, tw), kindCaption(TargetKind::Ogg, gb));
    EXPECT_TRUE(isSoundTarget(TargetKind::Ogg));
    EXPECT_FALSE(isSoundTarget(TargetKind::AudIsMp3));
    EXPECT_FALSE(isSoundTarget(TargetKind::None));
    EXPECT_TRUE(isQuickOperation(TargetKind::OnlyCut));
    EXPECT_FALSE(isQuickOperation(TargetKind::AudIsMp3));
    EXPECT_FALSE(reencodesPicture(TargetKind::AudIsMp3));
    EXPECT_TRUE(reencodesPicture(TargetKind::Mp42));
    // Every kind's key reads back as that kind.
    for (const auto& e : formatCatalog()) {
        EXPECT_EQ(parseKindKey(kindKey(e.kind)), e.kind) << e.key;
        EXPECT_EQ(firstEntryOf(e.kind)->kind, e.kind);
    }
    EXPECT_EQ(parseKindKey("Theora"), std::nullopt);
    EXPECT_EQ(resolveTarget("cut", "/v/a.b/clip.VOB")->key, "cut-mpg");
    EXPECT_EQ(resolveTarget("cut", "/v/a.avi/clip"), nullptr);
}

TEST(FormatCatalog, QuickOperationBySourceExtension)
{
    EXPECT_EQ(quickOperationFor("cut", "MPEG")->key, "cut-mpg");
    EXPECT_EQ(quickOperationFor("volume", "vob")->key, "volume-mpg");
    EXPECT_EQ(quickOperationFor("fix", "wmv")->key, "fix-wmv");
    EXPECT_EQ(quickOperationFor("fix", "mkv"), nullptr);
    EXPECT_EQ(quickOperationFor("rotate", "avi"), nullptr);
}
