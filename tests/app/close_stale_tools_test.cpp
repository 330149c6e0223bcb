#include "app/close_stale_tools.h"

#include "support/test_tools.h"
#include "util/subprocess.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qorvid;

TEST(CloseStaleTools, SelectsByProgramFileOrFirstArgumentIgnoringCase)
{
    const std::string prefix = "/opt/Qorvid/plugins/ZevraRes";
    std::vector<ProcessInfo> list = {
        {10, "/opt/Qorvid/plugins/ZevraRes1.exe", "/opt/Qorvid/plugins/ZevraRes1.exe"},
        {11, "/usr/bin/mplayer", "/opt/qorvid/PLUGINS/zevrares1.exe"}, // adapter keeps the plugin path
        {12, "/OPT/QORVID/PLUGINS/ZEVRARES3.EXE", ""},
        {13, "/home/u/other/plugins/ZevraRes1.exe", "ZevraRes1.exe"},      // another folder
        {14, "/usr/bin/bash", "bash"},
        {15, "", ""},                                                   // zombie: nothing readable
        {16, "/opt/Qorvid/plugins/ZevraRes2.exe", ""},                  // ourselves
        {17, "/opt/Qorvid/qorvid", "/opt/Qorvid/qorvid"},               // the program itself
        {18, "/tmp/x/opt/Qorvid/plugins/ZevraRes1.exe", ""},            // contains it, not under it
    };
    EXPECT_EQ(selectStaleTools(list, prefix, 16), (std::vector<int>{10, 11, 12}));
    EXPECT_TRUE(selectStaleTools(list, "", 0).empty());
}

TEST(CloseStaleTools, EndsOnlyTheToolsOfItsOwnFolder)
{
    test::TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.file("app/plugins"));
    fs::create_directories(dir.file("other/plugins"));
    const std::string ours = dir.file("app/plugins/ZevraRes1.exe");
    const std::string theirs = dir.file("other/plugins/ZevraRes1.exe");
    fs::copy_file("/bin/sleep", ours);
    fs::copy_file("/bin/sleep", theirs);

    Subprocess stale, survivor; // a survivor left running is killed at the end of the scope
    ASSERT_TRUE(test::startProgram(stale, {ours, "300"}, Subprocess::Output::Null)) << stale.error();
    ASSERT_TRUE(test::startProgram(survivor, {theirs, "300"}, Subprocess::Output::Null)) << survivor.error();

    EXPECT_EQ(closeStaleTools(dir.file("app/plugins/ZevraRes")), 1);

    EXPECT_GT(stale.wait(), 128) << "ended by a signal";
    EXPECT_FALSE(survivor.hasEnded()) << "the other folder's tool must survive";
}
