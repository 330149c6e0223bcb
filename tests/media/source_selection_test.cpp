#include "app/lang_text.h"
#include "media/source_selection.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qorvid;
using namespace qorvid::test;

namespace {
auto anyDrive = [](const std::string&) { return true; };
}

TEST(SourceSelection, TargetNamesFollowTheKind)
{
    TempDir dir;
    const std::string v = dir.path();
    TargetFolderSetting beside;
    auto target = [&](const std::string& src, const std::string& ext, TargetKind kind) {
        return targetPathFor(v + src, ext, kind, beside, "/home/x/", anyDrive);
    };
    EXPECT_EQ(target("a.mpg", "mpg", TargetKind::Mpeg1), v + "a_mpg2.mpg"); // never the source itself
    EXPECT_EQ(target("A.MPG", "mpg", TargetKind::Mpeg1), v + "A_mpg2.mpg"); // compared without case
    EXPECT_EQ(target("a.mpg", "dat", TargetKind::Vcd), v + "a.dat");
    EXPECT_EQ(target("a.avi", "avi", TargetKind::OnlyCut), v + "a_Cut.avi");
    EXPECT_EQ(target("a.avi", "avi", TargetKind::AudIsMp3), v + "a_AudIsMp3.avi");
    EXPECT_EQ(target("a.wmv", "wmv", TargetKind::OnlyTransVol), v + "a_NewVol.wmv");
    EXPECT_EQ(target("a.b.c.avi", "avi", TargetKind::OnlyFix), v + "a.b.c_Fix.avi");
}

TEST(SourceSelection, TargetFolderSettingAndFallback)
{
    TempDir dir, other;
    std::string src = dir.file("clip.avi");
    EXPECT_EQ(targetPathFor(src, "mpg", TargetKind::Mpeg2, {1, other.path()}, "/home/x/", anyDrive), other.file("clip.mpg"));
    // A default folder given without its separator still works.
    std::string bare = other.path().substr(0, other.path().size() - 1);
    EXPECT_EQ(targetPathFor(src, "mpg", TargetKind::Mpeg2, {1, bare}, "/home/x/", anyDrive), other.file("clip.mpg"));
    EXPECT_EQ(targetPathFor(src, "mpg", TargetKind::Mpeg2, {1, other.file("gone/")}, "/home/x/", anyDrive), "/home/x/clip.mpg");
    auto noDrive = [](const std::string&) { return false; };
    EXPECT_EQ(targetPathFor(src, "mpg", TargetKind::Mpeg2, {0, ""}, "/home/x/", noDrive), "/home/x/clip.mpg");
}

TEST(SourceSelection, QuickOperationsKeepTheSourceExtension)
{
    EXPECT_EQ(targetExtFor("mpg|dat|vob", "/m/x.mpeg"), "mpg");
    EXPECT_EQ(targetExtFor("mpg|dat|vob", "/m/x.VOB"), "vob");
    EXPECT_EQ(targetExtFor("mpg|dat|vob", "/m/x.avi"), "mpg");
    EXPECT_EQ(targetExtFor("wmv", "/m/x.asf"), "wmv");
    EXPECT_EQ(openFilterFor(TargetKind::OnlyCut, "wmv", "G"), "WMV Files (*.wmv)|*.wmv|All Files (*.*)|*.*");
    EXPECT_EQ(openFilterFor(TargetKind::OnlyFix, "mpg|dat|vob", "G"),
              "MPEG Files (*.mpg;*.mpeg;*.dat;*.vob)|*.mpg;*.mpeg;*.dat;*.vob|All Files (*.*)|*.*");
    EXPECT_EQ(openFilterFor(TargetKind::DivX, "avi", "G"), "G");
}

TEST(SourceSelection, DefaultFrameSize)
{
    int w = 0, h = 0;
    limitFrameSize(1920, 1080, w, h);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    limitFrameSize(1000, 1500, w, h);
    EXPECT_EQ(w, 854); // 853.33 rounds to 853, raised to even
    EXPECT_EQ(h, 1280);
    limitFrameSize(640, 480, w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    limitFrameSize(0, 480, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    limitFrameSize(4000, 2, w, h);
    EXPECT_EQ(h, 2); // never below 2
}

TEST(SourceSelection, TitlesAndActionWords)
{
    LangText lang;
    lang.load("tw");
    EXPECT_EQ(jobTitleFor(TargetKind::DivX, lang), "轉檔");
    EXPECT_EQ(jobTitleFor(TargetKind::OnlyCut, lang), lang[Msg::CutWord] + lang[Msg::VideoWord]);
    EXPECT_EQ(jobTitleFor(TargetKind::OnlyTransVol, lang), lang[Msg::Adjust] + lang[Msg::Volume]);
    EXPECT_EQ(jobTitleFor(TargetKind::Mp3, lang), lang[Msg::ConvertTo] + lang[Msg::SoundWord] + " MP3 ");
    EXPECT_EQ(actionWordsFor(TargetKind::OnlyFix, lang).settingsWord, "");
    EXPECT_EQ(actionWordsFor(TargetKind::OnlyFix, lang).actionWord, lang[Msg::RepairWord]);
}
