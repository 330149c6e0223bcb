#include "app/ui/qt_event_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

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

void QtEventClock::letEventsRun() { QCoreApplication::processEvents(); }

} // namespace qorvid
