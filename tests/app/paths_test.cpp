#include "app/paths.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace qorvid;
using qorvid::test::TempDir;
using qorvid::test::writeFile;

TEST(AppPaths, ToolsPreferDllAndSettingsFollowWritability)
{
    TempDir dir;
    AppPaths paths = AppPaths::forFolder(dir.path().substr(0, dir.path().size() - 1));
    EXPECT_EQ(paths.appFolder, dir.path());
    EXPECT_EQ(paths.toolPrefix(), dir.path() + "plugins/ZevraRes");
    EXPECT_EQ(paths.toolPath(1), dir.path() + "plugins/ZevraRes1.exe");
    ASSERT_EQ(::mkdir(dir.file("plugins").c_str(), 0755), 0);
    writeFile(dir.file("plugins/ZevraRes1.dll"), "");
    EXPECT_EQ(paths.toolPath(1), dir.path() + "plugins/ZevraRes1.dll");
    EXPECT_EQ(paths.toolPath(3), dir.path() + "plugins/ZevraRes3.exe");
    EXPECT_EQ(paths.tempFolder.back(), '/');

    EXPECT_EQ(paths.settingsFile(), dir.path() + "Qorvid.ini");
    // An installed program folder keeps settings per user, even where root could write it.
    writeFile(dir.file(kInstalledMarker), "");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(paths.settingsFile(), "/cfg/Qorvid/Qorvid.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1); // ignored: not absolute
    EXPECT_EQ(paths.settingsFolder(), homeFolder() + ".config/Qorvid/");
    if (saved) setenv("XDG_CONFIG_HOME", keep.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

TEST(ChangeToFolderOf, ParentFolderOrFallback)
{
    auto usable = [](const std::string&) { return true; };
    auto unusable = [](const std::string&) { return false; };
    EXPECT_EQ(folderToEnter("", "/fb/", unusable), "");
    EXPECT_EQ(folderToEnter("/media/a.b/c.avi", "", unusable), "/media/a.b/");
    EXPECT_EQ(folderToEnter("/media/x/", "", unusable), "/media/x/");
    EXPECT_EQ(folderToEnter("/net/c.avi", "/fb/", unusable), "/fb/");
    EXPECT_EQ(folderToEnter("/net/c.avi", "/fb/", usable), "/net/");
    EXPECT_EQ(folderToEnter("/net/*.avi", "/fb/", unusable), "/net/"); // patterns keep their folder

    TempDir dir;
    char before[4096];
    ASSERT_NE(::getcwd(before, sizeof before), nullptr);
    EXPECT_EQ(changeToFolderOf(dir.file("clip.avi")), dir.path());
    char now[4096];
    ASSERT_NE(::getcwd(now, sizeof now), nullptr);
    EXPECT_EQ(std::string(now) + "/", dir.path());
    changeToFolderOf(dir.file("missing/clip.avi")); // a failed change is ignored
    ASSERT_NE(::getcwd(now, sizeof now), nullptr);
    EXPECT_EQ(std::string(now) + "/", dir.path());
    ASSERT_EQ(::chdir(before), 0);
}
