#pragma once
#include <cstdint>

namespace qorvid {

// Millisecond clock and sleep, injected so that time-outs can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
    // Sleeps like sleepMs, but the machine's clock wakes early when the pipe fd hangs up
    // (the tool has ended), so that the end of a run is seen at once.
    virtual void sleepUnlessHungUp(int ms, int /*fd*/) { sleepMs(ms); }
    // Sleeps like sleepMs, but the machine's clock wakes early when one of the descriptors
    // (negative ones are skipped) has something to read or has hung up.
    virtual void waitForInput(const int* /*fds*/, int /*count*/, int ms) { sleepMs(ms); }
};

// The machine's monotonic clock.
Clock& systemClock();

} // namespace qorvid
