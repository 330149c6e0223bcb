#include "app/settings.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::readFile;
using qorvid::test::TempDir;
using qorvid::test::writeFile;

namespace {

const Geometry kScreen{1920, 1080, 600, 400};

struct SettingsTest : ::testing::Test {
    TempDir dir;
    SettingsFallbacks fallbacks{"/home/someone/", "tw"};
    std::string ini = dir.file("Qorvid.ini");
};

} // namespace

TEST_F(SettingsTest, MissingFileGivesDefaultsAndAFirstFile)
{
    LoadedSettings s = loadOrCreateSettings(ini, kScreen, fallbacks);
    EXPECT_FALSE(s.fileFound);
    EXPECT_FALSE(s.languageGiven);
    EXPECT_EQ(s.values.mainLeft, 660);
    EXPECT_EQ(s.values.mainTop, 340);
    EXPECT_EQ(s.values.language, "tw");
    EXPECT_EQ(s.values.targetDefDirMode, 0);
    EXPECT_EQ(s.values.targetDefDir, "/home/someone/");
    EXPECT_EQ(readFile(ini), "MainLeft=660\r\nMainTop=340\r\nLanguage=tw\r\n"
                             "TargetDefDirMode=0\r\nTargetDefDir=/home/someone/\r\n");
}

TEST_F(SettingsTest, SavedValuesComeBack)
{
    Settings saved{12.5f, 30, "gb", 1, dir.path()};
    ASSERT_TRUE(saveSettings(ini, saved));
    LoadedSettings s = loadSettings(ini, kScreen, fallbacks);
    EXPECT_TRUE(s.fileFound);
    EXPECT_TRUE(s.languageGiven);
    EXPECT_EQ(s.values.mainLeft, 12); // rounded to a whole unit, halves to even
    EXPECT_EQ(s.values.mainTop, 30);
    EXPECT_EQ(s.values.language, "gb");
    EXPECT_EQ(s.values.targetDefDirMode, 1);
    EXPECT_EQ(s.values.targetDefDir, dir.path());
}

TEST_F(SettingsTest, KeysInAnyCaseBlanksAndOddLines)
{
    std::string folder = dir.path().substr(0, dir.path().size() - 1); // no trailing separator
    writeFile(ini, "  language=gb  \nno equals here\nMAINTOP = 100\nColor=red\n"
                   "targetdefdir=" + folder + "\ntargetDefDirMode=1\n");
    LoadedSettings s = loadSettings(ini, kScreen, fallbacks);
    EXPECT_TRUE(s.languageGiven);
    EXPECT_EQ(s.values.language, "gb");
    EXPECT_EQ(s.values.mainTop, 100);
    EXPECT_EQ(s.values.mainLeft, 660); // no line: stays centred
    EXPECT_EQ(s.values.targetDefDir, dir.path());
    EXPECT_EQ(s.values.targetDefDirMode, 1);
}

TEST_F(SettingsTest, ModeOtherThanOneIsZero)
{
    for (const char* mode : {"2", "0", "-1", "abc", "", "1.5"}) {
        writeFile(ini, std::string("TargetDefDirMode=") + mode + "\r\n");
        EXPECT_EQ(loadSettings(ini, kScreen, fallbacks).values.targetDefDirMode, 0) << mode;
    }
}

TEST_F(SettingsTest, VanishedFolderFallsBackToHome)
{
    writeFile(ini, "TargetDefDirMode=1\r\nTargetDefDir=" + dir.file("gone/") + "\r\n");
    LoadedSettings s = loadSettings(ini, kScreen, fallbacks);
    EXPECT_EQ(s.values.targetDefDir, "/home/someone/");
    EXPECT_EQ(s.values.targetDefDirMode, 1);
}

TEST_F(SettingsTest, PositionPulledBackOntoTheScreen)
{
    writeFile(ini, "MainLeft=5000\r\nMainTop=-300\r\n");
    LoadedSettings s = loadSettings(ini, kScreen, fallbacks);
    EXPECT_EQ(s.values.mainLeft, 1320); // screen width - window width
    EXPECT_EQ(s.values.mainTop, 0);

    writeFile(ini, "MainLeft=junk\r\nMainTop=99999\r\n");
    s = loadSettings(ini, kScreen, fallbacks);
    EXPECT_EQ(s.values.mainLeft, 0); // not a number reads 0
    EXPECT_EQ(s.values.mainTop, 680);

    // A window larger than the screen ends at the edge, not beyond it.
    s = loadSettings(ini, Geometry{800, 600, 1000, 700}, fallbacks);
    EXPECT_EQ(s.values.mainLeft, 0);
    EXPECT_EQ(s.values.mainTop, 0);
}

TEST_F(SettingsTest, NoLanguageLineFollowsTheSystem)
{
    writeFile(ini, "MainLeft=10\r\n");
    fallbacks.systemLanguage = "gb";
    LoadedSettings s = loadSettings(ini, kScreen, fallbacks);
    EXPECT_FALSE(s.languageGiven);
    EXPECT_EQ(s.values.language, "gb");
}

TEST_F(SettingsTest, ExistingFileIsNotRewrittenAtStart)
{
    writeFile(ini, "language=en\n");
    loadOrCreateSettings(ini, kScreen, fallbacks);
    EXPECT_EQ(readFile(ini), "language=en\n");
}

TEST_F(SettingsTest, SaveCreatesTheFolderAndFailsQuietly)
{
    EXPECT_TRUE(saveSettings(dir.file("config/Qorvid/Qorvid.ini"), Settings{}));
    EXPECT_TRUE(test::fileExists(dir.file("config/Qorvid/Qorvid.ini")));
    writeFile(dir.file("plain"), "x");
    EXPECT_FALSE(saveSettings(dir.file("plain/Qorvid.ini"), Settings{}));
}
