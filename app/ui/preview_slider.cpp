#include "app/ui/preview_slider.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace qorvid {

PreviewSlider::PreviewSlider(QWidget* parent) : QWidget(parent)
{
    setObjectName("imgSliderBG");
    setMinimumHeight(18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void PreviewSlider::setLength(float seconds)
{
    length_ = std::max(0.0f, seconds);
    position_ = 0;
    update();
}

void PreviewSlider::setPosition(float seconds)
{
    if (held_) return;
    const float p = std::clamp(seconds, 0.0f, length_);
    if (xFor(p) != xFor(position_)) update();
    position_ = p;
}

void PreviewSlider::setMarks(std::optional<float> start, std::optional<float> end)
{
    markStart_ = start;
    markEnd_ = end;
    update();
}

float PreviewSlider::factor() const { return length_ / static_cast<float>(trackWidth()); }

int PreviewSlider::xFor(float seconds) const
{
    if (length_ <= 0) return trackLeft();
    return trackLeft() + static_cast<int>(std::lround(seconds / factor()));
}

float PreviewSlider::secondsAt(int x) const
{
    const int inside = std::clamp(x - trackLeft(), 0, trackWidth());
    return std::round(factor() * static_cast<float>(inside) * 10.0f) / 10.0f;
}

void PreviewSlider::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int mid = height() / 2;
    const QRect track(trackLeft(), mid - 3, trackWidth(), 6);
    p.fillRect(track, isEnabled() ? QColor(190, 198, 210) : QColor(220, 220, 220));
    if (markStart_ || markEnd_) {
        const int a = xFor(markStart_.value_or(0));
        const int b = xFor(markEnd_.value_or(length_));
        p.fillRect(QRect(QPoint(std::min(a, b), mid - 3), QPoint(std::max(a, b), mid + 2)), QColor(230, 120, 40));
    }
    const int x = held_ ? heldX_ : xFor(position_);
    p.setPen(QColor(60, 70, 90));
    p.setBrush(held_ ? QColor(120, 160, 230) : QColor(245, 247, 250));
    p.drawRoundedRect(QRect(x - kThumb / 2, 1, kThumb, height() - 3), 3, 3);
}

void PreviewSlider::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || length_ <= 0) return;
    held_ = true;
    // A press on the track brings the thumb there at once.
    heldX_ = std::clamp(e->position().toPoint().x(), trackLeft(), trackLeft() + trackWidth());
    update();
}

void PreviewSlider::mouseMoveEvent(QMouseEvent* e)
{
    if (!held_) return;
    heldX_ = std::clamp(e->position().toPoint().x(), trackLeft(), trackLeft() + trackWidth());
    update();
}

void PreviewSlider::mouseReleaseEvent(QMouseEvent* e)
{
    if (!held_ || e->button() != Qt::LeftButton) return;
    held_ = false;
    position_ = secondsAt(heldX_);
    update();
    emit released(position_);
}

} // namespace qorvid
