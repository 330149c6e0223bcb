#include "app/paths.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    qorvid::test::ScopedEnv env;
    env.set("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(paths.settingsFile(), "/cfg/Qorvid/Qorvid.ini");
    env.set("XDG_CONFIG_HOME", "relative"); // ignored: not absolute
    EXPECT_EQ(paths.settingsFolder(), homeFolder() + ".config/Qorvid/");
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
    const auto before = std::filesystem::current_path();
    EXPECT_EQ(changeToFolderOf(dir.file("clip.avi")), dir.path());
    EXPECT_EQ(std::filesystem::current_path().string() + "/", dir.path());
    changeToFolderOf(dir.file("missing/clip.avi")); // a failed change is ignored
    EXPECT_EQ(std::filesystem::current_path().string() + "/", dir.path());
    std::filesystem::current_path(before);
}
