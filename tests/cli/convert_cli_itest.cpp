// qorvid-cli convert end to end: the real plugins on clips made here, checked with ffprobe.
#include "support/cli_run.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

using namespace qorvid::test;

namespace {

RunResult convert(std::vector<std::string> args)
{
    std::vector<std::string> argv{buildDir() + "qorvid-cli", "convert", "--lang", "tw"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv);
}

std::string streams(const std::string& file)
{
    std::string text = ffprobe(file, "stream=codec_type,codec_name");
    std::string out;
    for (char c : text) out += c == '\n' ? ' ' : c;
    return out;
}

// Per-frame checksums of the picture stream: "pts checksum" lines.
std::vector<std::pair<long, std::string>> frameSums(const std::string& file, int frames)
{
    std::string text = runProgram({"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-i", file, "-map",
                                   "0:v", "-frames:v", std::to_string(frames), "-f", "framemd5", "-"})
                           .output;
    std::vector<std::pair<long, std::string>> sums;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cols;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');) cols.push_back(f);
        if (cols.size() == 6) sums.emplace_back(std::stol(cols[1]), cols[5].substr(cols[5].find_first_not_of(' ')));
    }
    return sums;
}

class ConvertCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        const std::vector<std::string> av = {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3",
                                             "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=3"};
        auto make = [&](const std::string& name, std::vector<std::string> out) {
            std::vector<std::string> args = av;
            args.insert(args.end(), out.begin(), out.end());
            args.push_back(dir->file(name));
            ffmpeg(args);
        };
        make("clip.avi", {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
        make("pcm.avi", {"-c:v", "mpeg4", "-c:a", "pcm_s16le"});
        make("clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "vob"});
        make("clip.wmv", {"-c:v", "wmv2", "-c:a", "wmav2"});
        ffmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100:duration=3", dir->file("music.mp3")});
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    static TempDir* dir;
};
TempDir* ConvertCli::dir = nullptr;

struct Expect {
    std::string key;
    std::string source;
    std::string target;   // file name the target gets
    std::string format;   // ffprobe format_name contains this
    std::string contains; // the stream list contains this
};

} // namespace

TEST_F(ConvertCli, EveryTargetConverts)
{
    const std::vector<Expect> all = {
        {"vcd", "clip.avi", "clip.dat", "mpeg", "codec_name=mpeg1video codec_type=video codec_name=mp2"},
        {"dvd", "clip.avi", "clip.vob", "mpeg", "codec_name=mpeg2video codec_type=video codec_name=ac3"},
        {"mpeg1", "clip.avi", "clip.mpg", "mpeg", "codec_name=mpeg1video codec_type=video codec_name=mp2"},
        {"mpeg2", "clip.avi", "clip.mpg", "mpeg", "codec_name=mpeg2video codec_type=video codec_name=mp2"},
        {"wmv7", "clip.avi", "clip.wmv", "asf", "codec_name=wmv1 codec_type=video codec_name=wmav1"},
        {"wmv8", "clip.avi", "clip.wmv", "asf", "codec_name=wmv2 codec_type=video codec_name=wmav2"},
        {"mp42-wmv", "clip.avi", "clip.wmv", "asf", "codec_name=msmpeg4v2 codec_type=video codec_name=wmav2"},
        {"mp42-avi", "clip.mpg", "clip.avi", "avi", "codec_name=msmpeg4v2 codec_type=video codec_name=mp3"},
        {"xvid", "clip.mpg", "clip.avi", "avi", "codec_name=mpeg4 codec_type=video codec_name=mp3"},
        {"divx", "clip.mpg", "clip.avi", "avi", "codec_name=mpeg4 codec_type=video codec_name=mp3"},
        {"h264", "clip.mpg", "clip.avi", "avi", "codec_name=h264 codec_type=video codec_name=mp3"},
        {"audmp3", "pcm.avi", "pcm_AudIsMp3.avi", "avi", "codec_name=mpeg4 codec_type=video codec_name=mp3"},
        {"wav", "clip.avi", "clip.wav", "wav", "codec_name=pcm_s16le"},
        {"mp3", "clip.avi", "clip.mp3", "mp3", "codec_name=mp3"},
        {"mp4", "clip.avi", "clip.mp4", "mp4", "codec_name=aac"},
        {"wma", "clip.avi", "clip.wma", "asf", "codec_name=wmav2"},
        {"aac", "clip.avi", "clip.aac", "mp4", "codec_name=aac"},
        {"ac3", "clip.avi", "clip.ac3", "ac3", "codec_name=ac3"},
        {"ogg", "clip.avi", "clip.ogg", "ogg", "codec_name=vorbis"},
        {"volume", "clip.avi", "clip_NewVol.avi", "avi", "codec_name=mpeg4 codec_type=video codec_name=mp3"},
        {"volume", "clip.mpg", "clip_NewVol.mpg", "mpeg", "codec_name=mpeg1video codec_type=video codec_name=mp2"},
        {"volume", "clip.wmv", "clip_NewVol.wmv", "asf", "codec_name=wmv2 codec_type=video codec_name=wmav2"},
        {"cut", "clip.avi", "clip_Cut.avi", "avi", "codec_name=mpeg4 codec_type=video codec_name=mp3"},
        {"cut", "clip.mpg", "clip_Cut.mpg", "mpeg", "codec_name=mpeg1video"},
        {"cut", "clip.wmv", "clip_Cut.wmv", "asf", "codec_name=wmv2 codec_type=video codec_name=wmav2"},
        {"fix", "pcm.avi", "pcm_Fix.avi", "avi", "codec_name=mpeg4 codec_type=video codec_name=mp3"},
        {"fix", "clip.mpg", "clip_Fix.mpg", "mpeg", "codec_name=mpeg1video"},
        {"fix", "clip.wmv", "clip_Fix.wmv", "asf", "codec_name=wmv2"},
    };
    for (const Expect& e : all) {
        SCOPED_TRACE(e.key + " from " + e.source);
        TempDir out;
        RunResult r = convert({dir->file(e.source), "--to", e.key, "--yes", "--target-dir", out.path()});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        std::string target = out.file(e.target);
        ASSERT_TRUE(fileExists(target)) << r.output;
        EXPECT_NE(ffprobeValue(target, "", "format_name").find(e.format), std::string::npos);
        EXPECT_NE(streams(target).find(e.contains), std::string::npos) << streams(target);
        EXPECT_NE(r.output.find("成功"), std::string::npos);
    }
}

TEST_F(ConvertCli, DryRunPrintsTheCommandAndRunsNothing)
{
    TempDir out;
    RunResult r = convert({dir->file("clip.avi"), "--to", "wma", "--abitrate", "128", "--mark", "00:00:01.0",
                           "00:00:02.5", "--dry-run", "--target-dir", out.path()});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("plugins/ZevraRes3.exe -y -i \"" + dir->file("clip.avi") +
                            "\" -acodec wmav2 -vn -ab 128000 -ss 00:00:01.0 -t 00:00:01.5 -ac 2 -ar 44100 \"" +
                            out.file("clip.wma") + "\""),
              std::string::npos)
        << r.output;
    EXPECT_FALSE(fileExists(out.file("clip.wma")));
}

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
            for (const std::string& a : {std::string("--dry-run"), std::string("--yes"), std::string("--target-dir"),
                                         out.path(), std::string("--lang"), std::string(code)})
                args.push_back(a);
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
    };
    const std::string music = dir->file("music.mp3");
    for (const Case& c : std::vector<Case>{
             {{music, "--to", "divx"}, "音樂格式的轉視訊"},                 // 247
             {{music, "--to", "cut-avi"}, "音樂格式的轉視訊"},              // 247
             {{dir->file("clip.avi"), "--to", "cut-wmv", "--yes"}, "WMV"}, // 262 forced with --yes: converts
             {{dir->file("clip.avi"), "--to", "divx", "--out", dir->file("clip.avi")}, "來源影音，不能與目標影音相同"},
             {{dir->file("clip.avi"), "--to", "mpeg2", "--fps", "4"}, "影格速率的數值範圍"},
             {{dir->file("clip.avi"), "--to", "divx", "--vbitrate", "9001"}, "視訊位元率的數值範圍"},
         }) {
        SCOPED_TRACE(c.args[2]);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--target-dir", out.path()});
        RunResult r = convert(args);
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    }
    // Without a terminal and without --yes a question ends the run; it never waits.
    RunResult asked = convert({dir->file("clip.avi"), "--to", "divx", "--target-dir", out.path()});
    EXPECT_EQ(asked.exitCode, 1);
    EXPECT_NE(asked.output.find("正準備開始"), std::string::npos);
    EXPECT_FALSE(fileExists(out.file("clip_avi2.avi")));
    EXPECT_EQ(convert({dir->file("clip.avi"), "--to", "nonsense"}).exitCode, 2);
    EXPECT_EQ(convert({dir->file("clip.avi"), "--to", "mp3", "--yes", "--target-dir", out.file("gone")}).exitCode, 2);
    // A target name the command line cannot carry is refused before anything runs.
    TempDir clean;
    RunResult quoted = convert({dir->file("clip.avi"), "--to", "mp3", "--yes", "--out", clean.file("say \"hi\".mp3")});
    EXPECT_EQ(quoted.exitCode, 1);
    EXPECT_NE(quoted.output.find("這是一個無效檔名的影音檔案"), std::string::npos) << quoted.output;
    EXPECT_TRUE(std::filesystem::is_empty(clean.path()));
    EXPECT_EQ(convert({dir->file("clip.avi"), "--to", "divx", "--rotate", "9"}).exitCode, 2);
}

TEST_F(ConvertCli, TypedMarksFollowTheMarkBoxesRule)
{
    TempDir out;
    const std::string form = "時間並不符合格式要求：\nhh:mm:ss.s\nhh = 00 ~ 99\nmm = 00 ~ 59\nss = 00 ~ 59\ns = 0 ~ 9";
    const std::string notAfter = "標記結束時間，不能小於起始時間";
    struct Case {
        std::string start, end, message;
    };
    for (const Case& c : std::vector<Case>{{"0:00:01.0", "00:00:02.0", form}, {"00:00:02.0", "00:00:01.0", notAfter}}) {
        SCOPED_TRACE(c.start + " " + c.end);
        RunResult r = convert({dir->file("clip.avi"), "--to", "cut", "--mark", c.start, c.end, "--yes", "--target-dir",
                               out.path()});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
    // The right form is taken as typed.
    RunResult ok = convert({dir->file("clip.avi"), "--to", "cut", "--mark", "00:00:01.0", "00:00:02.0", "--dry-run",
                            "--target-dir", out.path()});
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    // The start may move back to a key frame; the marked length stays.
    EXPECT_NE(ok.output.find(" -endpos 00:00:01.0 "), std::string::npos) << ok.output;
}

TEST_F(ConvertCli, FifoSourceIsRefusedBeforeAnyToolRuns)
{
    TempDir out;
    const std::string fifo = out.file("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    RunResult r = runGuarded({buildDir() + "qorvid-cli", "convert", "--lang", "tw", fifo, "--to", "mpeg1", "--yes",
                              "--target-dir", out.path()},
                             20);
    EXPECT_FALSE(r.hung);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("這是一個無效檔名的影音檔案"), std::string::npos) << r.output;
    EXPECT_TRUE(processesMatching(fifo).empty());
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

TEST_F(ConvertCli, CutProposesThePreviousKeyFrame)
{
    TempDir work;
    std::string source = work.file("key frames.avi");
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=120", "-f", "lavfi", "-i",
            "sine=sample_rate=44100:duration=120", "-c:v", "mpeg4", "-g", "250", "-keyint_min", "250", "-sc_threshold",
            "0", "-c:a", "libmp3lame", source});
    RunResult r = convert({source, "--to", "cut", "--mark", "00:00:47.0", "00:01:00.0", "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // The seek lands after the mark: the key frame before it is offered.
    EXPECT_NE(r.output.find("00:00:47.0"), std::string::npos);
    EXPECT_NE(r.output.find("關鍵幀"), std::string::npos) << r.output;
    // The result begins on one of the source's key frames before the mark (frame 750 or 1000),
    // give or take the frame the copy starts after it.
    auto cut = frameSums(work.file("key frames_Cut.avi"), 1);
    ASSERT_EQ(cut.size(), 1u);
    long sourceFrame = -1;
    for (const auto& [pts, sum] : frameSums(source, 1300))
        if (sum == cut[0].second) sourceFrame = pts;
    EXPECT_TRUE((sourceFrame >= 750 && sourceFrame <= 752) || (sourceFrame >= 1000 && sourceFrame <= 1002))
        << "the cut starts at source frame " << sourceFrame;
}

TEST_F(ConvertCli, CtrlCStopsTheToolAndLeavesNoTarget)
{
    TempDir work;
    std::string source = work.file("long.avi");
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=60", "-f", "lavfi", "-i",
            "sine=sample_rate=44100:duration=60", "-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame", source});
    BackgroundCli cli({source, "--to", "h264", "--size", "640x360", "--yes"});
    // Wait until FFmpeg is encoding (under the encoder plugin), then press Ctrl-C.
    ASSERT_GT(waitForTool("ffmpeg", source), 0) << "the conversion never started";
    cli.signal(SIGINT);
    EXPECT_EQ(cli.finish(), 1);
    EXPECT_NE(cli.output.find("處理中斷！"), std::string::npos) << cli.output;
    EXPECT_FALSE(fileExists(work.file("long_avi2.avi")));
    EXPECT_TRUE(processesMatching(source).empty());
}
