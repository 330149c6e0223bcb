// qorvid-cli convert end to end: the real plugins on clips made here, checked with ffprobe; when
// things go wrong (killed tools, signals, odd target folders, a full disk, two jobs on one
// target).
#include "support/cli_run.h"
#include "support/test_tools.h"
#include "util/subprocess.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/mount.h>

using namespace qorvid::test;

namespace {

// qorvid-cli convert in Traditional Chinese, run to its end.
RunResult convert(std::vector<std::string> args)
{
    args.insert(args.begin(), {buildDir() + "qorvid-cli", "convert", "--lang", "tw"});
    return runProgram(args);
}

class ConvertCli : public MediaSuite<ConvertCli> {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<TempDir>();
        const std::string picture = "testsrc2=size=320x240:rate=25:duration=3", sound = "sine=sample_rate=44100:duration=3";
        makeMedia(dir->file("clip.avi"), picture, sound, {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
        makeMedia(dir->file("clip.mpg"), picture, sound, {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "vob"});
        makeMedia(dir->file("clip.wmv"), picture, sound, {"-c:v", "wmv2", "-c:a", "wmav2"});
        makeMedia(dir->file("music.mp3"), "", sound);
    }
};

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

// What was once told apart by its Chinese text (the original-ratio size items, the sound
// targets, "same as source") gives one command whatever the language.
TEST_F(ConvertCli, DryRunGivesOneCommandInEveryLanguage)
{
    TempDir out;
    const std::vector<std::vector<std::string>> cases = {
        {dir->file("clip.avi"), "--to", "divx", "--size-item", "26"},
        {dir->file("clip.avi"), "--to", "h264", "--size-item", "2"},
        {dir->file("clip.avi"), "--to", "mp3", "--abitrate", "96"},
        {dir->file("clip.mpg"), "--to", "mpeg2", "--mark", "00:00:01.0", "00:00:02.0"},
        {dir->file("clip.wmv"), "--to", "volume-wmv", "--volume", "6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0] + " " + c[2]);
        std::vector<std::string> commands;
        for (const char* code : {"tw", "gb", "en"}) {
            std::vector<std::string> args = c;
            args.insert(args.end(), {"--dry-run", "--yes", "--target-dir", out.path(), "--lang", code});
            RunResult r = convert(args);
            ASSERT_EQ(r.exitCode, 0) << code << ": " << r.output;
            const size_t at = r.output.rfind("plugins/ZevraRes");
            ASSERT_NE(at, std::string::npos) << r.output;
            commands.push_back(r.output.substr(at, r.output.find('\n', at) - at));
        }
        EXPECT_EQ(commands, std::vector<std::string>(3, commands[0]));
    }
}

TEST_F(ConvertCli, RefusalsExplainThemselvesAndTouchNothing)
{
    // The frame-rate bound and the mark order are checked in the options window, which shares these
    // checks; a music source for any picture target is one refusal of the job driver's.
    TempDir out;
    struct Case {
        std::vector<std::string> args;
        std::string message;
        int exitCode = 1;
    };
    const std::string music = dir->file("music.mp3"), clip = dir->file("clip.avi");
    for (const Case& c : std::vector<Case>{
             {{music, "--to", "cut-avi"}, "音樂格式的轉視訊"},         // 247
             {{clip, "--to", "cut-wmv", "--yes"}, "WMV", 0},           // 262 forced with --yes: converts
             {{clip, "--to", "divx", "--vbitrate", "9001"}, "視訊位元率的數值範圍"},
             {{clip, "--to", "cut", "--mark", "0:00:01.0", "00:00:02.0", "--yes"}, "時間並不符合格式要求：\nhh:mm:ss.s"}, // the mark boxes' rule, with its form
             {{clip, "--to", "divx"}, "正準備開始"}, // without a terminal or --yes a question ends the run
             {{clip, "--to", "nonsense"}, "", 2},
             {{clip, "--to", "divx", "--rotate", "9"}, "", 2},
         }) {
        SCOPED_TRACE(c.args[2] + " " + c.message);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--target-dir", out.path()});
        RunResult r = convert(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 1) << "only the forced WMV cut";
    EXPECT_EQ(convert({clip, "--to", "mp3", "--yes", "--target-dir", out.file("gone")}).exitCode, 2);
}

TEST_F(ConvertCli, TargetThatCannotBeReplacedIsKept)
{
    TempDir out;
    std::string target = out.file("clip.avi");
    writeFile(target, "precious");
    // Immutable even for root: the old target cannot be deleted before the run.
    if (runProgram({"chattr", "+i", target}).exitCode != 0) GTEST_SKIP() << "no chattr here";
    RunResult r = convert({dir->file("clip.avi"), "--to", "divx", "--yes", "--target-dir", out.path()});
    runProgram({"chattr", "-i", target});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("正被其它程式使用中"), std::string::npos) << r.output; // 057
    EXPECT_EQ(readFile(target), "precious");
}

// Several conversions at once from one program folder, as a script over a folder of files runs
// them: each gets its own right target, and they share no file. The target folder is on a RAM
// file system: it is used as named, not replaced by the home folder, and the earlier target
// there is replaced.
TEST_F(ConvertCli, ThreeJobsAtOnceEachGetTheirOwnTarget)
{
    TempDir in;
    ScopedEnv ram;
    ram.set("TMPDIR", "/dev/shm");
    TempDir out;
    writeFile(out.file("one.avi"), "old");
    const std::vector<std::pair<std::string, std::string>> jobs = {
        {"one.avi", "divx"}, {"two.avi", "mp3"}, {"three.avi", "mpeg2"}};
    for (const auto& [name, to] : jobs)
        makeMedia(in.file(name), "testsrc2=size=320x240:rate=25:duration=8", "sine=duration=8", {"-c:v", "mpeg4", "-c:a", "libmp3lame"});

    std::array<qorvid::Subprocess, 3> children;
    for (size_t i = 0; i < jobs.size(); ++i)
        ASSERT_TRUE(startProgram(children[i], {buildDir() + "qorvid-cli", "convert", in.file(jobs[i].first), "--to", jobs[i].second,
                                               "--yes", "--lang", "en", "--target-dir", out.path()},
                                 qorvid::Subprocess::Output::Null))
            << children[i].error();
    for (auto& child : children) EXPECT_EQ(child.wait(), 0);
    EXPECT_EQ(ffprobeValue(out.file("one.avi"), "v:0", "codec_name"), "mpeg4");
    EXPECT_EQ(ffprobeValue(out.file("two.mp3"), "a:0", "codec_name"), "mp3");
    EXPECT_EQ(ffprobeValue(out.file("three.mpg"), "v:0", "codec_name"), "mpeg2video");
    // Nothing but the three targets: no passing or unfinished file of one job is left or shared.
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(out.path())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"one.avi", "two.mp3", "three.mpg"}));
}

// A tool killed in the middle: the job fails with the reason, the earlier target is whole,
// and nothing of the new one is left.
TEST_F(ConvertFaults, KilledToolFailsAndKeepsTheEarlierTarget)
{
    struct Case {
        const char *source, *to, *killed, *target; // killed: the process, by the start of its name
    };
    for (const Case& c : {Case{"long.avi", "h264", "ZevraRes2", "long.avi"},
                          Case{"long.avi", "h264", "ffmpeg", "long.avi"},
                          Case{"long.avi", "divx", "ffmpeg", "long.avi"}, // one of its pieces
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
        // DivX runs in pieces at once, H.264 whole.
        const char* to = sig == SIGTERM || sig == SIGKILL ? "divx" : "h264";
        BackgroundCli cli({dir->file("long.avi"), "--to", to, "--yes", "--target-dir", out.path()});
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

// A DivX job shared out over the cores needs room for its pieces and the joined target at once
// (9 MB each here): with room for the target alone it runs whole and succeeds; a disk that fills
// up under the pieces stops them with the reason.
TEST_F(ConvertFaults, TheDiskDecidesWhetherADivXJobIsSharedOut)
{
    TempDir scratch;
    ScratchMount small(scratch.file("small"), "size=14m"), roomy(scratch.file("roomy"), "size=28m");
    if (!small.mounted || !roomy.mounted) GTEST_SKIP() << "no mounts here";
    RunResult r = convert({dir->file("long.avi"), "--to", "divx", "--yes", "--target-dir", small.dir});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_GT(std::stod(ffprobeValue(small.dir + "/long.avi", "", "duration")), 59);

    BackgroundCli cli({dir->file("long.avi"), "--to", "divx", "--yes", "--target-dir", roomy.dir});
    ASSERT_GT(waitForTool("ffmpeg", "trim=start="), 0) << "the pieces never started";
    std::ofstream filler(roomy.dir + "/filler", std::ios::binary);
    for (const std::string block(1 << 20, 'x'); filler.write(block.data(), block.size());) {}
    EXPECT_EQ(cli.finish(), 1);
    EXPECT_NE(cli.output.find(strerror(ENOSPC)), std::string::npos) << cli.output;
    EXPECT_TRUE(toolsGone(dir->file("long.avi")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(roomy.dir), {}), 1) << "only the filler";
}
