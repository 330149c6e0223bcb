#pragma once
#include "util/clock.h"
#include "util/reporters.h"

namespace qorvid {

// The core's clock and event pump in the window program: a wait inside the core's polling
// loops keeps delivering window events, so the window stays live for the whole run.
class QtEventClock final : public Clock, public EventPump {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
    void sleepUnlessHungUp(int ms, int fd) override;
    void letEventsRun() override;
};

} // namespace qorvid
