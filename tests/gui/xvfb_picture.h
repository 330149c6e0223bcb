#pragma once
// Shared by the suites that run the real player under Xvfb: waiting with events running,
// reading back what the player drew, and counting the players still running.
#include "app/close_stale_tools.h"
#include "util/process_list.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace qorvid::test {

// Lets events run until the condition holds; false when it did not within 20 s.
template <class F>
bool waitUntil(F condition)
{
    return QTest::qWaitFor(condition, 20000);
}

// What the player has drawn into the widget: read back from the X server.
inline QImage shownIn(QWidget* picture)
{
    return QGuiApplication::primaryScreen()->grabWindow(picture->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Share of the pixels (every other one) that differ between two pictures; 1 for other sizes.
inline double differing(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return 1;
    long diff = 0;
    for (int y = 0; y < a.height(); y += 2)
        for (int x = 0; x < a.width(); x += 2)
            if (a.pixel(x, y) != b.pixel(x, y)) ++diff;
    return static_cast<double>(diff) / ((a.height() / 2 + 1) * (a.width() / 2 + 1));
}

// Waits until the paused picture no longer changes.
inline void settle(QWidget* picture)
{
    QImage last = shownIn(picture);
    for (int i = 0; i < 40; ++i) {
        QTest::qWait(100);
        QImage now = shownIn(picture);
        if (differing(last, now) == 0) return;
        last = now;
    }
}

// The player plugins of the program folder with this tool prefix that still run.
inline int playerProcesses(const std::string& prefix)
{
    return static_cast<int>(selectStaleTools(currentUserProcesses(), prefix, 0).size());
}

} // namespace qorvid::test
