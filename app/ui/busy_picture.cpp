#include "app/ui/busy_picture.h"

#include <QPainter>

#include <cmath>

namespace qorvid {

void BusyPicture::setActive(bool active)
{
    active_ = active;
    frame_ = 0;
    update();
}

void BusyPicture::advance()
{
    if (!active_) return;
    frame_ = 1 - frame_;
    update();
}

void BusyPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor on(255, 160, 30), off(170, 170, 170);
    // Two gears' teeth, alternating: picture 0 lights the even dots, picture 1 the odd ones.
    const QPointF c(width() / 2.0, height() / 2.0);
    const qreal r = qMin(width(), height()) * 0.36, dot = qMin(width(), height()) * 0.11;
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * 3.14159265 / 4;
        const bool lit = active_ && (i % 2 == frame_);
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? on : off);
        p.drawEllipse(c + QPointF(r * std::cos(a), r * std::sin(a)), dot, dot);
    }
}

} // namespace qorvid
