#include "support/engine_rig.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qorvid;
using namespace qorvid::test;

namespace {

const std::string kEncoder = "/q/plugins/ZevraRes2.exe \"a.avi\" -o \"b.avi\"";
const std::string kConverter = "/q/plugins/ZevraRes3.exe -y -i \"a.avi\" \"b.mp3\"";

} // namespace

TEST(RunWithProgress, DrawsEachNewPercentageReturnsTheLastShowsTheConsoleAndReadsEachToolsForm)
{
    ScriptedRig rig;
    rig.launcher.on("ZevraRes2", {{"Pos:   1.0s 25f ( 1%)\r"},
                                  {"Pos:   1.4s 35f ( 1%)\r"}, // same whole percent: no redraw
                                  {""},
                                  {"line \xff\n"},
                                  {"Pos:   5.0s 125f (50%)\r", false}});
    rig.runner.showDosWindow = true;
    float result = rig.runner.RunWithProgress(kEncoder, 100, false);
    EXPECT_NE(rig.ui.command.find("\r\n" + kEncoder), std::string::npos);
    // Invalid bytes become U+FFFD.
    EXPECT_EQ(rig.ui.output, "Pos:   1.0s 25f ( 1%)\rPos:   1.4s 35f ( 1%)\rline \xEF\xBF\xBD\nPos:   5.0s 125f (50%)\r");
    EXPECT_EQ(rig.ui.outputShown, 1);

    EXPECT_EQ(result, 5.0f);
    EXPECT_EQ(rig.ui.percents, (std::vector<float>{1, 5}));
    EXPECT_EQ(rig.ui.captions.back(), "處理進度 5 % -->  轉到 5.0 秒");
    EXPECT_EQ(rig.ui.estimates.front(), "用時 00:00:00，剩時 ? 分鐘內");
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_FALSE(rig.runner.aborted());
    EXPECT_TRUE(rig.launcher.last().closed);
    EXPECT_FALSE(rig.display.estimateActive());

    // Without a length given the job's is used; the converter's form is read for it alone.
    rig.launcher.on("ZevraRes3", {{"size= 1kB time=30.00 bitrate= 1.0kbits/s\r", false}});
    rig.job.jobLength = 120;
    EXPECT_EQ(rig.runner.RunWithProgress(kConverter, 0, false), 25.0f);
    rig.launcher.on("ZevraRes2", {{"size= 1kB time=30.00 bitrate= 1.0kbits/s\r", false}});
    EXPECT_EQ(rig.runner.RunWithProgress(kEncoder, 120, false), 0.0f);
}

TEST(RunWithProgress, SilentToolIsStuckAfter24SecondsAndABrokenPipeAfterTwo)
{
    const struct {
        FakeStep quiet;
        std::int64_t bound;
    } cases[] = {{{""}, 24000}, {{"", true, true}, 2000}};
    for (const auto& c : cases) {
        ScriptedRig rig;
        rig.launcher.on("ZevraRes2", {{"Pos:   1.0s 25f ( 1%)\r"}, c.quiet});
        auto start = rig.fakeClock.now;
        rig.runner.RunWithProgress(kEncoder, 100, false);
        EXPECT_TRUE(rig.launcher.last().terminated);
        EXPECT_GT(rig.fakeClock.now - start, c.bound);
        EXPECT_LT(rig.fakeClock.now - start, c.bound + 500);
        EXPECT_EQ(rig.ui.messages, std::vector<std::string>{rig.lang[Msg::ProcessStuck] + "\r\n\r\n轉檔處理中斷！"});
        EXPECT_TRUE(rig.runner.aborted());
        EXPECT_TRUE(rig.ui.startButtonShown);
        EXPECT_EQ(rig.ui.cpuNotes.back(), "CPU 使用率：0.0 %");
    }
}

// A stop ends the run within one poll; a tool that ended by itself in the poll of the stop,
// or just after it, was not stopped.
TEST(RunWithProgress, StopButtonEndsTheRunWithinOnePollUnlessTheToolHasEnded)
{
    const struct {
        const char* what;
        std::vector<FakeStep> steps;
        bool aborted;
    } cases[] = {
        {"runs on", {{"Pos: 1.0s 1f\r"}, {""}}, true},
        {"ends with the stop", {{"Pos: 1.0s 1f\r"}, {"Pos: 2.0s 2f\r", false}}, false},
        {"ends just after it", {{"Pos: 1.0s 1f\r"}, {"Pos: 2.0s 2f\r"}, {"", false}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedRig rig;
        rig.launcher.on("ZevraRes2", c.steps);
        rig.ui.onEvents = [&] {
            if (rig.ui.eventRuns == 2) rig.runner.setStopDosIo();
        };
        const std::int64_t start = rig.fakeClock.now;
        rig.runner.RunWithProgress(kEncoder, 100, false);
        EXPECT_EQ(rig.runner.aborted(), c.aborted);
        EXPECT_EQ(rig.ui.startButtonShown, c.aborted);
        EXPECT_EQ(rig.ui.messages, std::vector<std::string>(c.aborted ? 1 : 0, "轉檔處理中斷！"));
        if (!c.aborted) continue;
        EXPECT_EQ(rig.fakeClock.now - start, 2 * ToolRunner::kPollMs); // no wait after the stop
        EXPECT_TRUE(rig.launcher.last().terminated);
        // The next run starts with the flag cleared.
        rig.launcher.on("ZevraRes3", {{"", false}});
        rig.ui.onEvents = nullptr;
        rig.runner.RunWithProgress(kConverter, 100, false);
        EXPECT_FALSE(rig.runner.aborted());
    }
}

TEST(RunAndCapture, KeepsEverythingTheToolPrints)
{
    ScriptedRig rig;
    rig.launcher.on("identify", {{"ID_VIDEO_WIDTH=320\n"}, {""}, {"ID_VIDEO_HEIGHT=240\n", false}});
    EXPECT_EQ(rig.runner.RunAndCapture("p -identify", false), "ID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\n");
    EXPECT_EQ(rig.runner.RunAndCapture("", false), "");
    // A silent tool is captured with the real ones below.
}

// Printing every 20 s keeps a tool from being stuck, when capturing too; a capture still ends
// at its limit.
TEST(RunAndCapture, ToolPrintingEvery20SecondsIsNeverStuckButACaptureEndsAtItsLimit)
{
    std::vector<FakeStep> steps;
    for (std::int64_t i = 0; i < ToolRunner::kCaptureLimitMs / ToolRunner::kPollMs + 1000; ++i)
        steps.push_back({i % 200 == 0 ? "Pos: 1.0s 1f\r" : ""});
    steps.push_back({"Exiting...\n", false});
    ScriptedRig rig;
    rig.launcher.on("ZevraRes2", steps);
    rig.runner.RunWithProgress(kEncoder, 100, false);
    EXPECT_FALSE(rig.launcher.last().terminated);
    EXPECT_EQ(rig.launcher.last().polls, static_cast<int>(steps.size()));

    const std::int64_t start = rig.fakeClock.now;
    std::string out = rig.runner.RunAndCapture(kEncoder, false);
    EXPECT_TRUE(rig.launcher.last().terminated);
    EXPECT_TRUE(rig.launcher.last().closed);
    EXPECT_GE(rig.fakeClock.now - start, ToolRunner::kCaptureLimitMs);
    EXPECT_LT(rig.fakeClock.now - start, ToolRunner::kCaptureLimitMs + 1000);
    EXPECT_EQ(out.substr(0, 13), "Pos: 1.0s 1f\r");
    EXPECT_TRUE(rig.ui.messages.empty());
}

// Real tools, with the fake clock standing in for the waiting.
TEST(RunnerWithRealTools, SilentAndMutedToolsAreKilledWithTheirChildrenAndMissingOnesSayNothing)
{
    TempDir dir;
    // The sleeps run under a name inside the test folder, so that they can be found.
    std::filesystem::create_symlink("/bin/sleep", dir.file("napper"));
    const std::string marker = dir.path();
    const std::string napper = "\"" + dir.file("napper") + "\"";
    // A tool that started a helper of its own and then went quiet.
    std::string silent = writeScript(dir.file("silent.sh"), napper + " 300 & " + napper + " 301");
    // A tool that closed its console but runs on.
    std::string muted = writeScript(dir.file("muted.sh"), "exec >&- 2>&-; exec " + napper + " 302");

    FakeClock clock;
    for (const std::string& tool : {silent, muted}) {
        EngineRig rig(clock, systemLauncher());
        rig.runner.RunWithProgress(tool, 10, false);
        EXPECT_EQ(rig.ui.messages.size(), 1u) << tool;
        EXPECT_TRUE(processesMatching(marker).empty()) << tool;
    }
    EngineRig rig(clock, systemLauncher());
    EXPECT_EQ(rig.runner.RunAndCapture(silent, false), "");
    EXPECT_TRUE(processesMatching(marker).empty());
    EXPECT_FALSE(rig.runner.aborted()); // a capture ends it without aborting the job
    // A tool that cannot start gives nothing and says nothing.
    EXPECT_EQ(rig.runner.RunWithProgress("/no/such/ZevraRes2.exe \"a\"", 10, false), 0.0f);
    EXPECT_EQ(rig.runner.RunAndCapture("/no/such/ZevraRes1.exe -identify", false), "");
    EXPECT_TRUE(rig.ui.messages.empty());
}
