#include "app/cpu_counters.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace qorvid {
namespace {

std::string readAll(const char* path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

class ProcStatCounters final : public CpuCounterSource {
public:
    std::optional<CpuTimes> read() override { return parseProcStat(readAll("/proc/stat")); }
};

class ProcLoadAvg final : public CpuLoadSource {
public:
    std::optional<double> read() override
    {
        long n = ::sysconf(_SC_NPROCESSORS_ONLN);
        return parseLoadAvg(readAll("/proc/loadavg"), n > 0 ? static_cast<int>(n) : 1);
    }
};

} // namespace

std::optional<CpuTimes> parseProcStat(std::string_view text)
{
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        if (name != "cpu") continue;
        // user nice system idle iowait irq softirq steal; guest time is already in user.
        std::uint64_t v[8] = {};
        int count = 0;
        while (count < 8 && fields >> v[count]) ++count;
        if (count < 4) return std::nullopt;
        CpuTimes t;
        t.idle = v[3] + v[4];
        for (std::uint64_t x : v) t.total += x;
        return t;
    }
    return std::nullopt;
}

std::optional<double> parseLoadAvg(std::string_view text, int processors)
{
    std::istringstream fields{std::string(text)};
    double load = 0;
    if (!(fields >> load) || load < 0 || processors <= 0) return std::nullopt;
    return load * 100.0 / processors;
}

CpuCounterSource& systemCpuCounters()
{
    static ProcStatCounters source;
    return source;
}

CpuLoadSource& systemCpuLoad()
{
    static ProcLoadAvg source;
    return source;
}

} // namespace qorvid
