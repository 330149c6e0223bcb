#pragma once
#include "app/cpu_counters.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qorvid {

// The processor-load meter of the main window. query() returns the load since the previous
// call as text: one decimal ("37.0"), "100" at the top, a negative value ("-1") on failure.
class CpuMeter {
public:
    virtual ~CpuMeter() = default;
    virtual void Initialize() = 0;
    virtual std::string query() = 0;
    virtual void terminate() = 0;
};

// From the kernel's idle and total time counters of all processors.
class cpuUsageNT final : public CpuMeter {
public:
    explicit cpuUsageNT(CpuCounterSource& source = systemCpuCounters()) : source_(source) {}
    void Initialize() override;
    std::string query() override;
    void terminate() override {}

private:
    CpuCounterSource& source_;
    CpuTimes previous_;
};

// The fallback: any overall load figure.
class cpuUsage final : public CpuMeter {
public:
    explicit cpuUsage(CpuLoadSource& source = systemCpuLoad()) : source_(source) {}
    void Initialize() override {}
    std::string query() override;
    void terminate() override {}

private:
    CpuLoadSource& source_;
};

// cpuUsageNT when the counters can be read, else cpuUsage; already initialised.
std::unique_ptr<CpuMeter> makeCpuMeter();

// The text form of a load given in ten-thousandths of a percent (1000000 is 100 %).
std::string loadText(std::int64_t tenThousandths);

} // namespace qorvid
