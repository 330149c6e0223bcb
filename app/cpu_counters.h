#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace qorvid {

// Time counters summed over all processors, in the kernel's ticks.
struct CpuTimes {
    std::uint64_t idle = 0;
    std::uint64_t total = 0;
};

class CpuCounterSource {
public:
    virtual ~CpuCounterSource() = default;
    virtual std::optional<CpuTimes> read() = 0;
};

// The overall processor load in percent, for the fallback meter.
class CpuLoadSource {
public:
    virtual ~CpuLoadSource() = default;
    virtual std::optional<double> read() = 0;
};

// The "cpu" line of /proc/stat; waiting for input counts as idle.
std::optional<CpuTimes> parseProcStat(std::string_view text);
// The one-minute load average of /proc/loadavg per processor, in percent.
std::optional<double> parseLoadAvg(std::string_view text, int processors);

// /proc/stat and /proc/loadavg of this machine.
CpuCounterSource& systemCpuCounters();
CpuLoadSource& systemCpuLoad();

} // namespace qorvid
