// qorvid-cli convert when things go wrong: killed tools, signals, odd target folders, a full
// disk, two jobs on one target. The real plugins on clips made here.
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace qorvid::test;

namespace {

// qorvid-cli running in the background, its output on a pipe.
class BackgroundCli {
public:
    explicit BackgroundCli(std::vector<std::string> args)
    {
        std::vector<std::string> words{buildDir() + "qorvid-cli", "convert", "--lang", "tw"};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        int out[2];
        if (pipe(out) != 0) return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_adddup2(&fa, out[1], 2);
        if (posix_spawn(&pid, words[0].c_str(), &fa, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&fa);
        close(out[1]);
        fd_ = out[0];
    }
    ~BackgroundCli()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            finish();
        }
    }
    // Reads everything and waits; the exit code, 128 + signal for a killed one.
    int finish()
    {
        char buf[4096];
        for (ssize_t n; fd_ >= 0 && (n = read(fd_, buf, sizeof buf)) != 0;)
            if (n > 0) output.append(buf, static_cast<size_t>(n));
            else if (errno != EINTR) break;
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
        int status = 0;
        if (pid > 0) waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_t pid = -1;
    std::string output;

private:
    int fd_ = -1;
};

std::string comm(int pid)
{
    std::string c = readFile("/proc/" + std::to_string(pid) + "/comm");
    return c.substr(0, c.find('\n'));
}

// The process of the named program working on the file, once it runs (-1 when it never does).
int waitForTool(const std::string& program, const std::string& file)
{
    for (int i = 0; i < 3000; ++i) {
        for (int p : processesMatching(file))
            if (comm(p).rfind(program, 0) == 0) return p;
        usleep(10000);
    }
    return -1;
}

// Until no process works on the file any more; false when some keep running.
bool toolsGone(const std::string& file)
{
    for (int i = 0; i < 500; ++i) {
        if (processesMatching(file).empty()) return true;
        usleep(10000);
    }
    return false;
}

// A small file system mounted for one test, gone with it.
class ScratchMount {
public:
    ScratchMount(const std::string& dir, const std::string& options)
    {
        std::filesystem::create_directories(dir);
        mounted = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
        dir_ = dir;
    }
    ~ScratchMount()
    {
        if (mounted) ::umount2(dir_.c_str(), MNT_DETACH);
    }
    bool mounted = false;

private:
    std::string dir_;
};

class ConvertFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        // Long enough to be caught in the middle: several seconds of work for each target.
        ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=60", "-f", "lavfi", "-i",
                "sine=sample_rate=44100:duration=60", "-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame",
                dir->file("long.avi")});
        ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=1200", "-ac", "2", dir->file("long.wav")});
        ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                "sine=sample_rate=44100:duration=2", "-c:v", "mpeg4", "-c:a", "libmp3lame", dir->file("short.avi")});
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static TempDir* dir;
};
TempDir* ConvertFaults::dir = nullptr;

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
            if (earlier)
                EXPECT_EQ(readFile(target), "precious");
            else
                EXPECT_FALSE(fileExists(target));
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), earlier ? 1 : 0);
        }
    }
}

TEST_F(ConvertFaults, FinishedConversionReplacesTheEarlierTarget)
{
    TempDir out;
    const std::string target = out.file("short.mp3");
    writeFile(target, "old");
    RunResult r = runProgram({buildDir() + "qorvid-cli", "convert", dir->file("short.avi"), "--to", "mp3", "--yes",
                              "--lang", "tw", "--target-dir", out.path()});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(ffprobeValue(target, "a:0", "codec_name"), "mp3");
}

// SIGTERM and SIGHUP stop the job as Ctrl-C does; a killed qorvid-cli takes its tools along.
TEST_F(ConvertFaults, SignalsStopTheJobAndItsTools)
{
    for (int sig : {SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(sig));
        TempDir out;
        BackgroundCli cli({dir->file("long.avi"), "--to", "h264", "--yes", "--target-dir", out.path()});
        ASSERT_GT(waitForTool("ffmpeg", dir->file("long.avi")), 0) << "the conversion never started";
        kill(cli.pid, sig);
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

// A folder on a RAM file system is used as named, not replaced by the home folder.
TEST_F(ConvertFaults, TargetFolderIsUsedAsNamed)
{
    std::string shm = "/dev/shm/qorvid-test-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(shm);
    RunResult r = runProgram({buildDir() + "qorvid-cli", "convert", dir->file("short.avi"), "--to", "mp3", "--yes",
                              "--lang", "tw", "--target-dir", shm});
    bool there = fileExists(shm + "short.mp3");
    std::filesystem::remove_all(shm);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(there) << r.output;

    TempDir scratch;
    ScratchMount readOnly(scratch.file("ro"), "ro,size=1m");
    if (!readOnly.mounted) GTEST_SKIP() << "no mounts here";
    RunResult refused = runProgram({buildDir() + "qorvid-cli", "convert", dir->file("short.avi"), "--to", "mp3",
                                    "--yes", "--lang", "tw", "--target-dir", scratch.file("ro")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.output.find(strerror(EROFS)), std::string::npos) << refused.output;
}

// The system's reason follows the failure message: a folder that vanished stops the job at once.
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

    ScratchMount small(scratch.file("small"), "size=256k");
    if (!small.mounted) GTEST_SKIP() << "no mounts here";
    for (const char* to : {"h264", "wav"}) {
        SCOPED_TRACE(to);
        const char* source = std::string(to) == "wav" ? "long.wav" : "long.avi";
        writeFile(scratch.file("small/") + (std::string(to) == "wav" ? "long.wav" : "long.avi"), "old");
        RunResult full = runProgram({buildDir() + "qorvid-cli", "convert", dir->file(source), "--to", to, "--yes",
                                     "--lang", "tw", "--target-dir", scratch.file("small")});
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_NE(full.output.find(strerror(ENOSPC)), std::string::npos) << full.output;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.file("small")), {}), 2);
}

// A second job on a target that the first is still writing asks before replacing it.
TEST_F(ConvertFaults, SecondJobOnTheSameTargetAsks)
{
    TempDir out;
    BackgroundCli first({dir->file("long.avi"), "--to", "h264", "--yes", "--target-dir", out.path()});
    ASSERT_GT(waitForTool("ffmpeg", dir->file("long.avi")), 0);
    RunResult second = runProgram({buildDir() + "qorvid-cli", "convert", dir->file("long.avi"), "--to", "h264",
                                   "--lang", "tw", "--target-dir", out.path()});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.output.find("已經存在"), std::string::npos) << second.output; // the overwrite question
    kill(first.pid, SIGINT);
    EXPECT_EQ(first.finish(), 1);
}
