#include "app/close_stale_tools.h"

#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

namespace {

int spawnSleeper(const std::string& program)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>("300"), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

std::string sleepBinary()
{
    for (const char* p : {"/usr/bin/sleep", "/bin/sleep"})
        if (test::fileExists(p)) return p;
    return {};
}

} // namespace

TEST(CloseStaleTools, EndsOnlyTheToolsOfItsOwnFolder)
{
    const std::string sleep = sleepBinary();
    ASSERT_FALSE(sleep.empty());
    test::TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.file("app/plugins"));
    fs::create_directories(dir.file("other/plugins"));
    const std::string ours = dir.file("app/plugins/ZevraRes1.exe");
    const std::string theirs = dir.file("other/plugins/ZevraRes1.exe");
    fs::copy_file(sleep, ours);
    fs::copy_file(sleep, theirs);

    int stale = spawnSleeper(ours);
    int survivor = spawnSleeper(theirs);
    ASSERT_GT(stale, 0);
    ASSERT_GT(survivor, 0);

    EXPECT_EQ(closeStaleTools(dir.file("app/plugins/ZevraRes")), 1);

    int status = 0;
    ASSERT_EQ(waitpid(stale, &status, 0), stale);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(waitpid(survivor, &status, WNOHANG), 0) << "the other folder's tool must survive";
    EXPECT_TRUE(test::processAlive(survivor));

    kill(survivor, SIGKILL);
    waitpid(survivor, &status, 0);
}
