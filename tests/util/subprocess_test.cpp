#include "util/subprocess.h"

#include "support/fakes.h"
#include "support/test_tools.h"
#include "util/clock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace qorvid;

namespace {

Subprocess::Setup shell(const std::string& script)
{
    Subprocess::Setup setup;
    setup.program = "/bin/sh";
    setup.argv = {"sh", "-c", script};
    setup.input = Subprocess::Input::Null;
    setup.output = Subprocess::Output::Pipe;
    setup.errors = Subprocess::Errors::WithOutput;
    return setup;
}

// The first line the child prints (blocks until it does).
std::string firstLine(Subprocess& child)
{
    std::string out;
    while (out.find('\n') == std::string::npos && readAvailable(child.outputFd(), out)) {}
    return out.substr(0, out.find('\n'));
}

// Gone, and not left as a zombie of ours either.
bool goneAndReaped(pid_t pid)
{
    return kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

TEST(Subprocess, EveryArgumentReachesTheChildAsItIs)
{
    const std::vector<std::string> names = {
        "two  blanks.avi", "\"quoted\" 'too'.avi", "line\nbreak.avi", "$(touch x) `y` *.avi",
        "back\\slash\\", " ", "-", "影片 1.avi"};
    std::vector<std::string> args = {"%s\\0"};
    args.insert(args.end(), names.begin(), names.end());
    Captured c = runAndCapture("printf", args);
    ASSERT_EQ(c.exitCode, 0) << c.startError << c.errors;
    std::vector<std::string> seen;
    for (size_t at = 0, end; (end = c.output.find('\0', at)) != std::string::npos; at = end + 1)
        seen.push_back(c.output.substr(at, end - at));
    EXPECT_EQ(seen, names);
}

TEST(Subprocess, ExitStatusAndSignalAreToldApart)
{
    const struct {
        const char* script;
        int status;
    } cases[] = {
        {"exit 0", 0},
        {"exit 3", 3},
        {"kill -TERM $$", 128 + SIGTERM},
        {"kill -KILL $$", 128 + SIGKILL},
    };
    for (const auto& c : cases) {
        Subprocess child;
        ASSERT_TRUE(child.start(shell(c.script))) << child.error();
        const pid_t pid = child.pid();
        EXPECT_EQ(child.wait(), c.status) << c.script;
        EXPECT_EQ(child.exitStatus(), c.status) << c.script;
        EXPECT_TRUE(child.hasEnded());
        EXPECT_TRUE(goneAndReaped(pid)) << c.script;
    }
}

TEST(Subprocess, KillGroupEndsAChildThatIgnoresTermAndItsHelpers)
{
    adoptOrphans();
    Subprocess child;
    Subprocess::Setup setup = shell("trap '' TERM HUP INT; sleep 300 & echo $!; wait");
    setup.ownGroup = true;
    ASSERT_TRUE(child.start(setup)) << child.error();
    const pid_t pid = child.pid();
    const pid_t helper = std::atoi(firstLine(child).c_str());
    ASSERT_GT(helper, 0);
    child.signal(SIGTERM);
    EXPECT_FALSE(child.hasEnded());
    child.killGroup();
    EXPECT_EQ(child.exitStatus(), 128 + SIGKILL);
    EXPECT_TRUE(goneAndReaped(pid));
    EXPECT_TRUE(goneAndReaped(helper));
}

TEST(Subprocess, KillGroupAfterTheChildEndedStillEndsWhatItLeftRunning)
{
    adoptOrphans();
    Subprocess child;
    Subprocess::Setup setup = shell("sleep 300 & echo $!");
    setup.ownGroup = true;
    ASSERT_TRUE(child.start(setup)) << child.error();
    const pid_t helper = std::atoi(firstLine(child).c_str());
    ASSERT_GT(helper, 0);
    EXPECT_EQ(child.wait(), 0);
    EXPECT_FALSE(goneAndReaped(helper));
    child.killGroup();
    EXPECT_TRUE(goneAndReaped(helper));
}

TEST(Subprocess, DroppingARunningChildKillsAndReapsIt)
{
    pid_t pid = 0;
    {
        Subprocess child;
        ASSERT_TRUE(child.start(shell("echo up; exec sleep 300"))) << child.error();
        pid = child.pid();
        EXPECT_EQ(firstLine(child), "up");
    }
    EXPECT_TRUE(goneAndReaped(pid));
}

TEST(Subprocess, TheChildEndsWithTheThreadThatStartedItUnlessToldOtherwise)
{
    for (bool endWithUs : {true, false}) {
        Subprocess child;
        // Short enough that a child the kernel failed to kill ends the test by itself.
        Subprocess::Setup setup = shell("echo up; exec sleep 30");
        setup.endWithUs = endWithUs;
        bool started = false;
        std::thread([&] { started = child.start(setup) && firstLine(child) == "up"; }).join();
        ASSERT_TRUE(started) << child.error();
        if (endWithUs) {
            EXPECT_EQ(child.wait(), 128 + SIGKILL);
        } else {
            EXPECT_FALSE(child.hasEnded());
            child.killGroup();
        }
    }
}

TEST(Subprocess, FolderAndEnvironmentAreTheChildsOwn)
{
    test::TempDir dir;
    Subprocess child;
    Subprocess::Setup setup = shell("pwd -P; echo \"$QV_ONE|$HOME\"");
    setup.workingDir = dir.path();
    setup.environment = std::vector<std::string>{"QV_ONE=a b\nc"};
    ASSERT_TRUE(child.start(setup)) << child.error();
    std::string out;
    while (readAvailable(child.outputFd(), out)) {}
    EXPECT_EQ(child.wait(), 0);
    char* real = realpath(dir.path().c_str(), nullptr);
    EXPECT_EQ(out, std::string(real) + "\na b\nc|\n");
    std::free(real);
}

TEST(Subprocess, WhatCannotStartSaysWhyAndLeavesNoChild)
{
    const struct {
        const char* program;
        const char* folder;
    } cases[] = {
        {"/no/such/tool", ""},
        {"no-such-tool-anywhere", ""},
        {"/bin/sh", "/no/such/folder"},
    };
    for (const auto& c : cases) {
        Subprocess child;
        Subprocess::Setup setup = shell("exit 0");
        setup.program = c.program;
        setup.workingDir = c.folder;
        EXPECT_FALSE(child.start(setup)) << c.program;
        EXPECT_NE(child.error().find("cannot start " + std::string(c.program) + ": "), std::string::npos)
            << child.error();
        EXPECT_EQ(child.pid(), -1);
        EXPECT_LE(waitpid(-1, nullptr, WNOHANG), 0) << c.program; // no zombie waiting
    }
}

namespace {
// Fake time that moves by a fixed step per wait, while the wait itself is a real (short) look
// at the pipes, so that a child that prints all the time is heard.
class SteppingClock final : public Clock {
public:
    std::int64_t nowMs() override { return now; }
    void sleepMs(int) override { now += kStep; }
    void waitForInput(const int* fds, int count, int) override
    {
        systemClock().waitForInput(fds, count, 5000);
        now += kStep;
    }
    static constexpr int kStep = 1000;
    std::int64_t now = 5000;
};
} // namespace

TEST(RunAndCapture, AChildThatStaysSilentIsKilledAtTheSilenceLimit)
{
    const struct {
        const char* script;
        const char* what;
    } cases[] = {
        {"exec sleep 600", "prints nothing and never ends"},
        // The child is gone but its helper keeps the pipes open: end of file never comes.
        {"sleep 3 & exit 0", "ends but leaves the pipes open"},
    };
    for (const auto& c : cases) {
        test::FakeClock clock;
        const std::int64_t started = clock.now;
        Captured r = runAndCapture("/bin/sh", {"-c", c.script}, RunLimits{5000, 60000, &clock});
        EXPECT_TRUE(r.timedOut) << c.what;
        EXPECT_GE(clock.now - started, 5000) << c.what;
        EXPECT_LT(clock.now - started, 60000) << c.what << ": the total limit, not the silence one";
    }
}

TEST(RunAndCapture, AChildThatNeverStopsPrintingIsKilledAtTheTotalLimit)
{
    SteppingClock clock;
    const std::int64_t started = clock.now;
    Captured r = runAndCapture("yes", {"busy"}, RunLimits{3600 * 1000, 10000, &clock});
    EXPECT_TRUE(r.timedOut);
    EXPECT_EQ(r.exitCode, 128 + SIGKILL);
    EXPECT_EQ(r.output.substr(0, 5), "busy\n");
    EXPECT_GE(clock.now - started, 10000);
}

TEST(RunAndCapture, AChildThatKeepsTalkingIsNotSilent)
{
    // Every step brings a line, so a silence limit of two steps is never reached.
    SteppingClock clock;
    Captured r = runAndCapture("/bin/sh", {"-c", "for i in 1 2 3 4 5 6; do echo $i; sleep 0.05; done"},
                               RunLimits{2 * SteppingClock::kStep + 1, 600000, &clock});
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "1\n2\n3\n4\n5\n6\n");
}
