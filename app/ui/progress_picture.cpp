#include "app/ui/progress_picture.h"

#include <QPainter>

#include <algorithm>

namespace qorvid {

QColor colorFromNumber(unsigned n) { return QColor(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF); }

ProgressPicture::ProgressPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressPicture::draw(float percent, const QString& caption, bool idleStyle)
{
    percent_ = std::clamp(percent, 0.0f, 100.0f);
    caption_ = caption;
    idle_ = idleStyle;
    update();
    emit drawn(percent_, caption_, idle_);
}

void ProgressPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor text = colorFromNumber(idle_ ? 32768 : 16777215);
    const QColor bar = colorFromNumber(idle_ ? 16448 : 16576);
    p.fillRect(rect(), QColor(32, 32, 32));
    const int filled = static_cast<int>(width() * percent_ / 100.0f + 0.5f);
    p.fillRect(QRect(0, 0, filled, height()), bar);
    p.setPen(QColor(90, 90, 90));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(idle_ ? colorFromNumber(32768).lighter(170) : text);
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, caption_ + "   ");
}

NotePicture::NotePicture(QWidget* parent) : QWidget(parent) {}

void NotePicture::print(const QString& text)
{
    text_ = text;
    update();
}

void NotePicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text_);
}

} // namespace qorvid
