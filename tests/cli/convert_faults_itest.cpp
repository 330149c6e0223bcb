// qorvid-cli convert when things go wrong: killed tools, signals, odd target folders, a full
// disk, two jobs on one target. The real plugins on clips made here.
#include "support/cli_run.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/mount.h>

using namespace qorvid::test;

namespace {

// A small file system mounted for one test, gone with it.
struct ScratchMount {
    ScratchMount(const std::string& d, const std::string& options) : dir(d)
    {
        std::filesystem::create_directories(dir);
        mounted = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScratchMount()
    {
        if (mounted) ::umount2(dir.c_str(), MNT_DETACH);
    }
    std::string dir;
    bool mounted = false;
};

// qorvid-cli convert in Traditional Chinese, run to its end.
RunResult convert(std::vector<std::string> args)
{
    args.insert(args.begin(), {buildDir() + "qorvid-cli", "convert", "--lang", "tw"});
    return runProgram(args);
}

class ConvertFaults : public MediaSuite<ConvertFaults> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        // Long enough to be caught in the middle: several seconds of work for each target.
        makeMedia(dir->file("long.avi"), "testsrc2=size=640x360:rate=25:duration=60", "sine=sample_rate=44100:duration=60",
                  {"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame"});
        makeMedia(dir->file("long.wav"), "", "sine=sample_rate=44100:duration=1200", {"-ac", "2"});
        makeMedia(dir->file("short.avi"), "testsrc2=size=160x120:rate=25:duration=2", "sine=sample_rate=44100:duration=2",
                  {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
    }
};

} // namespace

// A tool killed in the middle: the job fails with the reason, the earlier target is whole,
// and nothing of the new one is left.
TEST_F(ConvertFaults, KilledToolFailsAndKeepsTheEarlierTarget)
{
    struct Case {
        const char* source;
        const char* to;
        const char* killed; // the process killed, by the start of its name
        const char* target;
    };
    for (const Case& c : {Case{"long.avi", "h264", "ZevraRes2", "long.avi"},
                          Case{"long.avi", "h264", "ffmpeg", "long.avi"},
                          Case{"long.wav", "mp3", "ZevraRes3", "long.mp3"}}) {
        SCOPED_TRACE(std::string(c.to) + ", killing " + c.killed);
        for (bool earlier : {true, false}) {
            TempDir out;
            const std::string target = out.file(c.target);
            if (earlier) writeFile(target, "precious");
            BackgroundCli cli({dir->file(c.source), "--to", c.to, "--yes", "--target-dir", out.path()});
            int tool = waitForTool(c.killed, dir->file(c.source));
            ASSERT_GT(tool, 0) << "the conversion never started";
            kill(tool, SIGKILL);
            EXPECT_EQ(cli.finish(), 1) << cli.output;
            EXPECT_NE(cli.output.find("失敗，"), std::string::npos) << cli.output; // 006
            EXPECT_TRUE(toolsGone(dir->file(c.source)));
            EXPECT_EQ(fileExists(target) ? readFile(target) : "(none)", earlier ? "precious" : "(none)");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), earlier ? 1 : 0);
        }
    }
}

// Ctrl-C, SIGTERM and SIGHUP stop the job; a killed qorvid-cli takes its tools along. While the
// first job writes its target, a second one on it asks before replacing it.
TEST_F(ConvertFaults, SignalsStopTheJobAndItsTools)
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(sig));
        TempDir out;
        BackgroundCli cli({dir->file("long.avi"), "--to", "h264", "--yes", "--target-dir", out.path()});
        ASSERT_GT(waitForTool("ffmpeg", dir->file("long.avi")), 0) << "the conversion never started";
        if (sig == SIGINT) {
            RunResult second = convert({dir->file("long.avi"), "--to", "h264", "--target-dir", out.path()});
            EXPECT_EQ(second.exitCode, 1);
            EXPECT_NE(second.output.find("已經存在"), std::string::npos) << second.output; // the overwrite question
        }
        cli.signal(sig);
        int code = cli.finish();
        if (sig == SIGKILL) {
            EXPECT_EQ(code, 128 + SIGKILL);
        } else {
            EXPECT_EQ(code, 1);
            EXPECT_NE(cli.output.find("處理中斷！"), std::string::npos) << cli.output;
        }
        EXPECT_TRUE(toolsGone(dir->file("long.avi"))) << "tools run on orphaned";
        EXPECT_TRUE(std::filesystem::is_empty(out.path()));
    }
}

// A folder on a RAM file system is used as named, not replaced by the home folder, and the
// finished target replaces the earlier one there.
TEST_F(ConvertFaults, TargetFolderIsUsedAsNamed)
{
    std::string shm = "/dev/shm/qorvid-test-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(shm);
    writeFile(shm + "short.mp3", "old");
    RunResult r = convert({dir->file("short.avi"), "--to", "mp3", "--yes", "--target-dir", shm});
    const std::string codec = ffprobeValue(shm + "short.mp3", "a:0", "codec_name");
    std::filesystem::remove_all(shm);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(codec, "mp3") << r.output;
}

// The system's reason follows the failure message: a folder that vanished stops the job at once,
// a read-only one is refused before it starts.
TEST_F(ConvertFaults, FailuresSayWhy)
{
    TempDir scratch;
    const std::string gone = scratch.file("gone/");
    std::filesystem::create_directories(gone);
    BackgroundCli cli({dir->file("long.avi"), "--to", "h264", "--yes", "--target-dir", gone});
    ASSERT_GT(waitForTool("ffmpeg", dir->file("long.avi")), 0);
    std::filesystem::remove_all(gone);
    EXPECT_EQ(cli.finish(), 1);
    EXPECT_NE(cli.output.find(strerror(ENOENT)), std::string::npos) << cli.output;
    EXPECT_TRUE(toolsGone(dir->file("long.avi")));

    ScratchMount small(scratch.file("small"), "size=256k"), readOnly(scratch.file("ro"), "ro,size=1m");
    if (!small.mounted || !readOnly.mounted) GTEST_SKIP() << "no mounts here";
    RunResult refused = convert({dir->file("short.avi"), "--to", "mp3", "--yes", "--target-dir", scratch.file("ro")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find(strerror(EROFS)), std::string::npos) << refused.output;
    for (const char* to : {"h264", "wav"}) {
        SCOPED_TRACE(to);
        const std::string source = std::string(to) == "wav" ? "long.wav" : "long.avi";
        writeFile(scratch.file("small/") + source, "old");
        RunResult full = convert({dir->file(source), "--to", to, "--yes", "--target-dir", scratch.file("small")});
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_NE(full.output.find(strerror(ENOSPC)), std::string::npos) << full.output;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.file("small")), {}), 2);
}
