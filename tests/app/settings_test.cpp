#include "app/settings.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::readFile;
using qorvid::test::writeFile;

namespace {

const Geometry kScreen{1920, 1080, 600, 400};

struct SettingsTest : ::testing::Test {
    LoadedSettings load(const std::string& text, const Geometry& screen = kScreen)
    {
        writeFile(ini, text);
        return loadSettings(ini, screen, fallbacks);
    }
    test::TempDir dir;
    SettingsFallbacks fallbacks{"/home/someone/", "tw"};
    std::string ini = dir.file("Qorvid.ini");
};

} // namespace

TEST_F(SettingsTest, MissingFileGivesCentredDefaultsAndAFirstFileButAnExistingOneStays)
{
    LoadedSettings s = loadOrCreateSettings(ini, kScreen, fallbacks);
    EXPECT_FALSE(s.fileFound || s.languageGiven);
    EXPECT_EQ(readFile(ini), "MainLeft=660\r\nMainTop=340\r\nLanguage=tw\r\n"
                             "TargetDefDirMode=0\r\nTargetDefDir=/home/someone/\r\n");
    writeFile(ini, "language=en\n");
    loadOrCreateSettings(ini, kScreen, fallbacks);
    EXPECT_EQ(readFile(ini), "language=en\n");
}

TEST_F(SettingsTest, SavedValuesComeBackAndSavingFailsQuietly)
{
    ASSERT_TRUE(saveSettings(dir.file("config/Qorvid/Qorvid.ini"), Settings{12.5f, 30, "gb", 1, dir.path()}));
    LoadedSettings s = loadSettings(dir.file("config/Qorvid/Qorvid.ini"), kScreen, fallbacks);
    EXPECT_TRUE(s.fileFound && s.languageGiven);
    EXPECT_EQ(s.values.mainLeft, 12); // rounded to a whole unit, halves to even
    EXPECT_EQ(s.values.mainTop, 30);
    writeFile(dir.file("plain"), "x");
    EXPECT_FALSE(saveSettings(dir.file("plain/Qorvid.ini"), Settings{}));
}

TEST_F(SettingsTest, KeysInAnyCaseBlanksOddLinesAndFallbacks)
{
    std::string folder = dir.path().substr(0, dir.path().size() - 1); // no trailing separator
    LoadedSettings s = load("  language=gb  \nno equals here\nMAINTOP = 100\nColor=red\n"
                            "targetdefdir=" + folder + "\ntargetDefDirMode=1\n");
    EXPECT_TRUE(s.languageGiven);
    EXPECT_EQ(s.values.language, "gb");
    EXPECT_EQ(s.values.mainTop, 100);
    EXPECT_EQ(s.values.mainLeft, 660); // no line: stays centred
    EXPECT_EQ(s.values.targetDefDir, dir.path());
    EXPECT_EQ(s.values.targetDefDirMode, 1);
    for (const char* mode : {"2", "0", "-1", "abc", "", "1.5"})
        EXPECT_EQ(load(std::string("TargetDefDirMode=") + mode + "\r\n").values.targetDefDirMode, 0) << mode;
    EXPECT_EQ(load("TargetDefDirMode=1\r\nTargetDefDir=" + dir.file("gone/") + "\r\n").values.targetDefDir,
              "/home/someone/");
    fallbacks.systemLanguage = "gb";
    s = load("MainLeft=10\r\n");
    EXPECT_FALSE(s.languageGiven);
    EXPECT_EQ(s.values.language, "gb");
}

TEST_F(SettingsTest, PositionPulledBackOntoTheScreen)
{
    const struct {
        const char* text;
        Geometry screen;
        int left, top;
    } cases[] = {
        {"MainLeft=5000\r\nMainTop=-300\r\n", kScreen, 1320, 0}, // screen width - window width
        {"MainLeft=junk\r\nMainTop=99999\r\n", kScreen, 0, 680}, // not a number reads 0
        {"MainLeft=5000\r\nMainTop=5000\r\n", Geometry{800, 600, 1000, 700}, 0, 0}, // larger than the screen
    };
    for (const auto& c : cases) {
        LoadedSettings s = load(c.text, c.screen);
        EXPECT_EQ(s.values.mainLeft, c.left) << c.text;
        EXPECT_EQ(s.values.mainTop, c.top) << c.text;
    }
}
