// Several qorvid-cli conversions at once from one program folder, as a script over a folder
// of files runs them: each gets its own right target, and they share no file.
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <set>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace qorvid::test;

TEST(ConvertParallel, ThreeJobsAtOnceEachGetTheirOwnTarget)
{
    TempDir in, out;
    const std::vector<std::pair<std::string, std::string>> jobs = {
        {"one.avi", "divx"}, {"two.avi", "mp3"}, {"three.avi", "mpeg2"}};
    for (const auto& [name, to] : jobs)
        ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=8", "-f", "lavfi", "-i",
                "sine=duration=8", "-c:v", "mpeg4", "-c:a", "libmp3lame", in.file(name)});

    std::vector<pid_t> pids;
    for (const auto& [name, to] : jobs) {
        std::vector<std::string> words{buildDir() + "qorvid-cli", "convert", in.file(name), "--to", to, "--yes",
                                       "--lang", "en", "--target-dir", out.path()};
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, words[0].c_str(), &fa, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&fa);
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(ffprobeValue(out.file("one.avi"), "v:0", "codec_name"), "mpeg4");
    EXPECT_EQ(ffprobeValue(out.file("two.mp3"), "a:0", "codec_name"), "mp3");
    EXPECT_EQ(ffprobeValue(out.file("three.mpg"), "v:0", "codec_name"), "mpeg2video");
    // Nothing but the three targets: no passing or unfinished file of one job is left or shared.
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(out.path())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"one.avi", "two.mp3", "three.mpg"}));
}
