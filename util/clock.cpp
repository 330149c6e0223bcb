#include "util/clock.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>

namespace qorvid {
namespace {
class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    void sleepUnlessHungUp(int ms, int fd) override
    {
        if (fd < 0) return sleepMs(ms);
        pollfd p{fd, 0, 0}; // no events asked: only hang-up and errors wake us
        // A signal (the stop key) ends the wait early too, which is what we want.
        if (::poll(&p, 1, ms) < 0 && errno != EINTR) sleepMs(ms);
    }
    void waitForInput(const int* fds, int count, int ms) override
    {
        pollfd p[8];
        int n = 0;
        for (int i = 0; i < count && n < 8; ++i) p[n++] = pollfd{fds[i], POLLIN, 0};
        if (::poll(p, static_cast<nfds_t>(n), ms) < 0 && errno != EINTR) sleepMs(ms);
    }
};
} // namespace

Clock& systemClock()
{
    static SteadyClock clock;
    return clock;
}

} // namespace qorvid
