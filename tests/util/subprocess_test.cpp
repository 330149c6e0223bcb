#include "util/subprocess.h"

#include "support/test_tools.h"

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
