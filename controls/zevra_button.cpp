#include "controls/zevra_button.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

int buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

ZevraButton::ZevraButton(QWidget* parent) : QWidget(parent)
{
    backColor_ = maskColor_ = palette().color(QPalette::Button);
    foreColor_ = palette().color(QPalette::ButtonText);
    setMinimumSize(24, 22);
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, &ZevraButton::watchPointer);
}

void ZevraButton::changed()
{
    changed_ = true;
    update();
}

void ZevraButton::setState(int v)
{
    if (v < kUp || v > kDisabled) v = kUp;
    state_ = v;
    // A disabled button takes no clicks; its disabled picture shows.
    setEnabled(v != kDisabled);
    if (v == kDisabled) pressed_ = false;
    changed();
}

void ZevraButton::setStyle(int v) { style_ = v; changed(); }
void ZevraButton::setMode(int v) { mode_ = v; changed(); }
void ZevraButton::setOLEDropMode(int v) { oleDropMode_ = v; changed(); }
void ZevraButton::setCaption(const QString& v) { caption_ = v; changed(); }
void ZevraButton::setBackColor(const QColor& c) { backColor_ = c; changed(); }
void ZevraButton::setForeColor(const QColor& c) { foreColor_ = c; changed(); }
void ZevraButton::setMaskColor(const QColor& c) { maskColor_ = c; changed(); }
void ZevraButton::setUseMaskColor(bool v) { useMaskColor_ = v; changed(); }
void ZevraButton::setPicture(const QPixmap& p) { picture_ = p; changed(); }
void ZevraButton::setDownPicture(const QPixmap& p) { downPicture_ = p; changed(); }
void ZevraButton::setDisabledPicture(const QPixmap& p) { disabledPicture_ = p; changed(); }

QPixmap ZevraButton::currentPicture() const
{
    QPixmap p = picture_;
    if (state_ == kDown && !downPicture_.isNull()) p = downPicture_;
    if (state_ == kDisabled && !disabledPicture_.isNull()) p = disabledPicture_;
    if (p.isNull() || !useMaskColor_) return p;
    p.setMask(p.createMaskFromColor(maskColor_, Qt::MaskInColor));
    return p;
}

void ZevraButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const bool down = state_ == kDown || (pressed_ && mode_ != kNoDown);
    QColor face = backColor_;
    if (down) face = face.darker(125);
    else if (hovered_ && state_ != kDisabled) face = face.lighter(115);
    p.fillRect(r, face);
    if (state_ == kHalf) {
        p.setPen(Qt::NoPen);
        p.setBrush(QBrush(face.darker(115), Qt::Dense5Pattern));
        p.drawRect(r);
    }
    // The frame: sunken when down, raised while the pointer is over it, a line for other styles.
    const QColor light = face.lighter(160), dark = face.darker(200);
    if (down || hovered_ || style_ != 0) {
        p.setPen(down ? dark : light);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(down ? light : dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
    const QPoint shift = down ? QPoint(1, 1) : QPoint();
    const QPixmap pic = currentPicture();
    if (!pic.isNull()) {
        p.drawPixmap(r.center() - pic.rect().center() + shift, pic);
        return;
    }
    p.setPen(state_ == kDisabled ? palette().color(QPalette::Disabled, QPalette::ButtonText) : foreColor_);
    p.drawText(r.translated(shift), Qt::AlignCenter, caption_);
}

void ZevraButton::mousePressEvent(QMouseEvent* e)
{
    if (state_ == kDisabled) return;
    emit MouseDown(buttonCode(e->button()), shiftCode(e->modifiers()), qRound(e->position().x()), qRound(e->position().y()));
    if (e->button() != Qt::LeftButton) return;
    stateAtPress_ = state_;
    pressed_ = true;
    update();
    if (mode_ == kPressAtOnce) emit Press();
}

void ZevraButton::mouseReleaseEvent(QMouseEvent* e)
{
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (state_ == kDisabled) return;
    emit MouseUp(buttonCode(e->button()), shiftCode(e->modifiers()), qRound(e->position().x()), qRound(e->position().y()));
    if (e->button() != Qt::LeftButton || !wasPressed) return;
    if (!rect().contains(e->position().toPoint())) {
        update();
        return;
    }
    // The look settles as a check box's: a click toggles down and up (the container may
    // then set the state it wants in its Click handler).
    if (mode_ != kNoDown) state_ = stateAtPress_ == kDown ? kUp : kDown;
    update();
    emit Click();
}

void ZevraButton::enterEvent(QEnterEvent*)
{
    if (state_ == kDisabled) return;
    hovered_ = true;
    update();
    watch_.start();
}

void ZevraButton::watchPointer()
{
    const QPoint at = QCursor::pos();
    if (rect().contains(mapFromGlobal(at)) && QApplication::widgetAt(at) == this) return;
    watch_.stop();
    hovered_ = false;
    update();
}
