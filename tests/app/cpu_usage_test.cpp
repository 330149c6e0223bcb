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

} // namespace

// Each query measures from the sample before it.
TEST(CpuUsageNT, TextFormOfTheLoadAndFailuresKeepThePreviousSample)
{
    const std::pair<std::optional<CpuTimes>, const char*> samples[] = {
        {CpuTimes{100, 100}, "0.5"},  // fully idle: the added half stays
        {CpuTimes{100, 200}, "100"},  // fully busy
        {CpuTimes{200, 400}, "50.5"}, // two processors, one idle
        {CpuTimes{203, 404}, "25.5"},
        {CpuTimes{204, 407}, "67.2"}, // 0.3333 idle share -> 67.17
        {CpuTimes{206, 410}, "33.8"}, // 0.6667 idle share -> 33.83
        {std::nullopt, "-1"},
        {CpuTimes{256, 510}, "50.5"}, // measured from the last good sample
        {CpuTimes{256, 510}, "-1"},   // no time passed
        {CpuTimes{10, 20}, "-1"},     // counters went back: a new span starts
        {CpuTimes{20, 40}, "50.5"},
    };
    FeedCounters counters;
    counters.samples = {CpuTimes{0, 0}};
    for (const auto& sample : samples) counters.samples.push_back(sample.first);
    cpuUsageNT meter(counters);
    meter.Initialize();
    for (const auto& [sample, text] : samples) EXPECT_EQ(meter.query(), text) << text;
}

TEST(CpuUsage, FallbackTextForm)
{
    FeedLoad load;
    cpuUsage meter(load);
    const std::pair<std::optional<double>, const char*> loads[] = {
        {37, "37.0"}, {100, "100"}, {250, "100"}, {12.34, "12.3"}, {std::nullopt, "-1"}};
    for (const auto& [value, text] : loads) {
        load.value = value;
        EXPECT_EQ(meter.query(), text) << text;
    }
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
