#include "app/cpu_usage.h"

#include <gtest/gtest.h>

#include <deque>

using namespace qorvid;

namespace {

class FeedCounters final : public CpuCounterSource {
public:
    std::deque<std::optional<CpuTimes>> samples;
    std::optional<CpuTimes> read() override
    {
        auto s = samples.front();
        samples.pop_front();
        return s;
    }
};

class FeedLoad final : public CpuLoadSource {
public:
    std::optional<double> value;
    std::optional<double> read() override { return value; }
};

std::string measure(CpuTimes before, CpuTimes after)
{
    FeedCounters counters;
    counters.samples = {before, after};
    cpuUsageNT meter(counters);
    meter.Initialize();
    return meter.query();
}

} // namespace

TEST(CpuUsageNT, TextFormOfTheLoad)
{
    EXPECT_EQ(measure({1000, 2000}, {1100, 2100}), "0.5");  // fully idle: the added half stays
    EXPECT_EQ(measure({1000, 2000}, {1000, 2100}), "100");  // fully busy
    EXPECT_EQ(measure({0, 0}, {100, 200}), "50.5");         // two processors, one idle
    EXPECT_EQ(measure({0, 0}, {3, 4}), "25.5");
    EXPECT_EQ(measure({0, 0}, {1, 3}), "67.2");             // 0.3333 idle share -> 67.17
    EXPECT_EQ(measure({0, 0}, {2, 3}), "33.8");             // 0.6667 idle share -> 33.83
}

TEST(CpuUsageNT, FailureKeepsThePreviousSample)
{
    FeedCounters counters;
    counters.samples = {CpuTimes{0, 0}, std::nullopt, CpuTimes{50, 100}, CpuTimes{50, 100},
                        CpuTimes{10, 20}, CpuTimes{20, 40}};
    cpuUsageNT meter(counters);
    meter.Initialize();
    EXPECT_EQ(meter.query(), "-1");
    EXPECT_EQ(meter.query(), "50.5"); // measured from the first sample
    EXPECT_EQ(meter.query(), "-1");   // no time passed
    EXPECT_EQ(meter.query(), "-1");   // counters went back: a new span starts
    EXPECT_EQ(meter.query(), "50.5");
}

TEST(CpuUsage, FallbackTextForm)
{
    FeedLoad load;
    cpuUsage meter(load);
    meter.Initialize();
    const std::pair<std::optional<double>, const char*> loads[] = {
        {37, "37.0"}, {100, "100"}, {250, "100"}, {12.34, "12.3"}, {std::nullopt, "-1"}};
    for (const auto& [value, text] : loads) {
        load.value = value;
        EXPECT_EQ(meter.query(), text) << text;
    }
    meter.terminate();
}

TEST(CpuCounters, ProcFiles)
{
    auto t = parseProcStat("cpu  100 5 50 800 40 3 2 0 7 0\ncpu0 50 2 25 400 20 1 1 0 0 0\n");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->idle, 840u);
    EXPECT_EQ(t->total, 1000u);
    EXPECT_FALSE(parseProcStat("intr 1 2 3\n"));
    EXPECT_FALSE(parseProcStat("cpu 1 2\n"));

    auto l = parseLoadAvg("1.50 0.80 0.40 2/300 1234\n", 4);
    ASSERT_TRUE(l);
    EXPECT_DOUBLE_EQ(*l, 37.5);
    EXPECT_FALSE(parseLoadAvg("", 4));
}
