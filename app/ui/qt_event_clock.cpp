#include "app/ui/qt_event_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <poll.h>

namespace qorvid {

std::int64_t QtEventClock::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QtEventClock::sleepMs(int ms)
{
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtEventClock::sleepUnlessHungUp(int ms, int fd)
{
    if (fd < 0 || ms <= 0) return sleepMs(ms);
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    // The tool's end (its pipe hangs up) ends the wait early, as in the terminal program.
    QTimer check;
    check.setInterval(10);
    QObject::connect(&check, &QTimer::timeout, &loop, [&loop, fd] {
        pollfd p{fd, 0, 0};
        if (::poll(&p, 1, 0) > 0) loop.quit();
    });
    check.start();
    loop.exec();
}

void QtEventClock::letEventsRun() { QCoreApplication::processEvents(); }

} // namespace qorvid
