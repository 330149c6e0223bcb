// qorvid-cli convert end to end: the real plugins on clips made here, checked with ffprobe.
#include "support/test_tools.h"
#include "support/tools_media.h"
#include "util/subprocess.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>

using namespace qorvid::test;

namespace {

RunResult convert(std::vector<std::string> args)
{
    std::vector<std::string> argv{buildDir() + "qorvid-cli", "convert", "--lang", "tw"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv);
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
        EXPECT_EQ(commands[1], commands[0]);
        EXPECT_EQ(commands[2], commands[0]);
    }
}

TEST_F(ConvertCli, RefusalsExplainThemselvesAndTouchNothing)
{
    TempDir out;
    struct Case {
        std::vector<std::string> args;
        std::string message;
        int exitCode = 1;
    };
    const std::string music = dir->file("music.mp3"), clip = dir->file("clip.avi");
    const std::string form = "時間並不符合格式要求：\nhh:mm:ss.s\nhh = 00 ~ 99\nmm = 00 ~ 59\nss = 00 ~ 59\ns = 0 ~ 9";
    for (const Case& c : std::vector<Case>{
             {{music, "--to", "divx"}, "音樂格式的轉視訊"},            // 247
             {{music, "--to", "cut-avi"}, "音樂格式的轉視訊"},         // 247
             {{clip, "--to", "cut-wmv", "--yes"}, "WMV", 0},           // 262 forced with --yes: converts
             {{clip, "--to", "divx", "--out", clip}, "來源影音，不能與目標影音相同"},
             {{clip, "--to", "mpeg2", "--fps", "4"}, "影格速率的數值範圍"},
             {{clip, "--to", "divx", "--vbitrate", "9001"}, "視訊位元率的數值範圍"},
             {{clip, "--to", "cut", "--mark", "0:00:01.0", "00:00:02.0", "--yes"}, form}, // the mark boxes' rule
             {{clip, "--to", "cut", "--mark", "00:00:02.0", "00:00:01.0", "--yes"}, "標記結束時間，不能小於起始時間"},
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
    // A target name the command line cannot carry is refused before anything runs.
    TempDir clean;
    RunResult quoted = convert({clip, "--to", "mp3", "--yes", "--out", clean.file("say \"hi\".mp3")});
    EXPECT_EQ(quoted.exitCode, 1);
    EXPECT_NE(quoted.output.find("這是一個無效檔名的影音檔案"), std::string::npos) << quoted.output;
    EXPECT_TRUE(std::filesystem::is_empty(clean.path()));
    // Typed marks in the right form are taken as typed: the start may move back to a key frame,
    // the marked length stays.
    RunResult ok = convert({clip, "--to", "cut", "--mark", "00:00:01.0", "00:00:02.0", "--dry-run", "--target-dir", out.path()});
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    EXPECT_NE(ok.output.find(" -endpos 00:00:01.0 "), std::string::npos) << ok.output;
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
// them: each gets its own right target, and they share no file.
TEST_F(ConvertCli, ThreeJobsAtOnceEachGetTheirOwnTarget)
{
    TempDir in, out;
    const std::vector<std::pair<std::string, std::string>> jobs = {
        {"one.avi", "divx"}, {"two.avi", "mp3"}, {"three.avi", "mpeg2"}};
    for (const auto& [name, to] : jobs)
        makeMedia(in.file(name), "testsrc2=size=320x240:rate=25:duration=8", "sine=duration=8", {"-c:v", "mpeg4", "-c:a", "libmp3lame"});

    std::array<qorvid::Subprocess, 3> children;
    for (size_t i = 0; i < jobs.size(); ++i) {
        qorvid::Subprocess::Setup setup;
        setup.program = buildDir() + "qorvid-cli";
        setup.argv = {setup.program, "convert", in.file(jobs[i].first), "--to", jobs[i].second, "--yes",
                      "--lang", "en", "--target-dir", out.path()};
        setup.output = qorvid::Subprocess::Output::Null;
        ASSERT_TRUE(children[i].start(setup)) << children[i].error();
    }
    for (auto& child : children) EXPECT_EQ(child.wait(), 0);
    EXPECT_EQ(ffprobeValue(out.file("one.avi"), "v:0", "codec_name"), "mpeg4");
    EXPECT_EQ(ffprobeValue(out.file("two.mp3"), "a:0", "codec_name"), "mp3");
    EXPECT_EQ(ffprobeValue(out.file("three.mpg"), "v:0", "codec_name"), "mpeg2video");
    // Nothing but the three targets: no passing or unfinished file of one job is left or shared.
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(out.path())) names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"one.avi", "two.mp3", "three.mpg"}));
}
