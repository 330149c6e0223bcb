#include "app/cpu_usage.h"

#include <cmath>

namespace qorvid {
namespace {
constexpr std::int64_t kHundred = 1000000; // 100 % in ten-thousandths
}

std::string loadText(std::int64_t v)
{
    if (v >= kHundred) return "100";
    // One decimal, halves rounded away from zero.
    bool negative = v < 0;
    std::int64_t tenths = ((negative ? -v : v) + 500) / 1000;
    std::string text = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return negative && tenths != 0 ? "-" + text : text;
}

void cpuUsageNT::Initialize()
{
    if (auto now = source_.read()) previous_ = *now;
}

std::string cpuUsageNT::query()
{
    auto now = source_.read();
    if (!now) return "-1";
    if (now->idle < previous_.idle || now->total <= previous_.total) {
        // Counters went back (or did not move): start a new span from here.
        if (now->total < previous_.total || now->idle < previous_.idle) previous_ = *now;
        return "-1";
    }
    using Wide = unsigned __int128;
    const std::uint64_t idle = now->idle - previous_.idle;
    const std::uint64_t total = now->total - previous_.total;
    previous_ = *now;
    // Idle share to four decimals; the counters already cover every processor.
    const auto ratio = static_cast<std::int64_t>((Wide(idle) * 20000 + total) / (Wide(total) * 2));
    return loadText(kHundred - ratio * 100 + 5000);
}

std::string cpuUsage::query()
{
    auto percent = source_.read();
    if (!percent || !std::isfinite(*percent)) return "-1";
    if (*percent >= 100) return "100";
    return loadText(std::llround(*percent * 10000));
}

std::unique_ptr<CpuMeter> makeCpuMeter()
{
    std::unique_ptr<CpuMeter> meter;
    if (systemCpuCounters().read())
        meter = std::make_unique<cpuUsageNT>();
    else
        meter = std::make_unique<cpuUsage>();
    meter->Initialize();
    return meter;
}

} // namespace qorvid
