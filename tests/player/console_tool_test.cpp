#include "player/console_tool.h"
#include "player/console_fake.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::ConsoleLauncher;

namespace {

struct CountingOwner final : ConsoleOwner {
    void setStopDosIo() override { ++told; }
    int told = 0;
};

struct ConsoleTest : ::testing::Test {
    ConsoleLauncher launcher;
    ConsoleTool console{launcher};
    CountingOwner owner;

    void startTool()
    {
        bool show = false;
        ASSERT_EQ(console.startConsoleTool("tool \"a b.avi\" -slave", &owner, show, "/tmp"), ConsoleTool::kStarted);
    }
};

} // namespace

// The prefix itself, and "pause" and "frame_step" sent bare, are checked through the player's commands.
TEST(ConsoleCommand, OnlyTheExactWordsAreSparedThePausingPrefix)
{
    EXPECT_EQ(toolCommandLine("pause_toggle", true), "pausing pause_toggle\n");
    EXPECT_EQ(toolCommandLine("frame_stepper", true), "pausing frame_stepper\n");
}

TEST_F(ConsoleTest, StartsWithPipesInTheFolderSendsLinesReplacesTheLastToolAndMayFail)
{
    startTool();
    EXPECT_TRUE(launcher.lastOptions.stdinPipe);
    EXPECT_EQ(launcher.lastOptions.workingDir, "/tmp");
    EXPECT_TRUE(console.isToolAlive());
    EXPECT_EQ(console.sendToolCommand("volume 50 1", true), 0);
    launcher.last().acceptsInput = false;
    EXPECT_EQ(console.sendToolCommand("pause", false), 3);
    // A second start ends the first tool.
    startTool();
    ASSERT_EQ(launcher.children.size(), 2u);
    EXPECT_TRUE(launcher.children[0]->terminated);
    EXPECT_FALSE(launcher.children[1]->terminated);
    // A start that fails leaves nothing running, not even the last tool.
    launcher.failStart = true;
    bool show = false;
    EXPECT_EQ(console.startConsoleTool("missing", &owner, show), ConsoleTool::kNoProcess);
    EXPECT_TRUE(launcher.children[1]->terminated);
    EXPECT_FALSE(console.isToolAlive());
    EXPECT_EQ(console.sendToolCommand("pause", false), 3);
    EXPECT_EQ(console.outputHandle(), -1);
}

TEST_F(ConsoleTest, ReadResultCodesAndWhenTheOwnerIsTold)
{
    using State = qorvid::test::ConsoleChildState;
    const struct {
        const char* what;
        std::string chunk;
        void (*spoil)(State&);
        ConsoleTool::ReadResult code;
        std::string text;
        bool told;
    } cases[] = {
        {"a silent child that still runs is not gone", "", nullptr, ConsoleTool::kNothingWaiting, "", false},
        {"a line", "A:   1.0 V:   1.0\r", nullptr, ConsoleTool::kRead, "A:   1.0 V:   1.0\r", false},
        {"short read", "abc", [](State& s) { s.shortRead = true; }, ConsoleTool::kShortRead, "ab", false},
        {"failed read", "x", [](State& s) { s.failedRead = true; }, ConsoleTool::kReadFailed, "", true},
        // More than the buffer is dropped and reported.
        {"over the buffer", std::string(ConsoleTool::kBufferSize + 1, 'x'), nullptr, ConsoleTool::kRead, "", true},
        {"broken pipe", "", [](State& s) { s.brokenPipe = true; }, ConsoleTool::kPeekFailed, "", true},
        {"dead child", "", [](State& s) { s.alive = false; }, ConsoleTool::kNothingWaiting, "", true},
    };
    bool fresh = true; // the first four read one child; once the owner is told, a new one
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (fresh) startTool();
        fresh = c.told;
        if (!c.chunk.empty()) launcher.last().output.push_back(c.chunk);
        if (c.spoil) c.spoil(launcher.last());
        const int toldBefore = owner.told;
        std::string text = "old";
        EXPECT_EQ(console.readToolOutput(text), c.code);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(owner.told - toldBefore, c.told ? 1 : 0);
    }
    EXPECT_FALSE(console.isToolAlive()) << "the dead child";
}

TEST_F(ConsoleTest, ShownWindowForcedAndWithoutAnOwnerReadingLeavesTheTextAlone)
{
    console.showDosWindow = true;
    bool show = false;
    console.startConsoleTool("tool", nullptr, show);
    EXPECT_TRUE(show);
    EXPECT_TRUE(launcher.lastOptions.showWindow);
    launcher.last().output.push_back("data");
    std::string text = "kept";
    EXPECT_EQ(console.readToolOutput(text), ConsoleTool::kRead);
    EXPECT_EQ(text, "kept");
}

TEST_F(ConsoleTest, StopKillsAndClosesTheToolWindowFirst)
{
    struct Windows final : ToolWindows {
        std::uint64_t topLevelOf(int pid) override { return pid == 777 ? 99 : 0; }
        void setTitle(std::uint64_t w, const std::string& t) override { titled = w, title = t; }
        void close(std::uint64_t w) override { closed = w; }
        std::uint64_t titled = 0, closed = 0;
        std::string title;
    } windows;
    console.setToolWindows(&windows);
    startTool();
    console.setToolWindowTitle("Qorvid - Player");
    EXPECT_EQ(windows.titled, 99u);
    EXPECT_EQ(windows.title, "Qorvid - Player");
    console.stopConsoleTool();
    EXPECT_EQ(windows.closed, 99u);
    EXPECT_TRUE(launcher.last().terminated);
    EXPECT_FALSE(console.running());
    console.stopConsoleTool(); // twice is harmless
}
