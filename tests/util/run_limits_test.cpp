// The bounds of a capture run: a child that is silent, or never ends, is killed in fake time.
#include "util/subprocess.h"

#include "support/fakes.h"
#include "util/clock.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace qorvid;

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
