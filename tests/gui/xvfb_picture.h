#pragma once
// Shared by the suites that run the real player under Xvfb: waiting with events running,
// and reading back what the player drew.
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>

namespace qorvid::test {

inline constexpr int kWaitMs = 20000;

// Lets events run until the condition holds; false when it did not within the bound.
template <class F>
bool waitUntil(F condition, int ms = kWaitMs)
{
    return QTest::qWaitFor(condition, ms);
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

} // namespace qorvid::test
