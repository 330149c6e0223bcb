#pragma once
#include <cstdint>

namespace qorvid {

// Millisecond clock and sleep, injected so that time-outs can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

// The machine's monotonic clock.
Clock& systemClock();

} // namespace qorvid
