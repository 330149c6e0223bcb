#include "controls/style_button.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QUrl>

namespace {

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int buttonCode(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

QPixmap greyed(const QPixmap& p)
{
    if (p.isNull()) return p;
    QImage img = p.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return QPixmap::fromImage(img);
}

QPixmap masked(const QPixmap& p, const QColor& mask)
{
    if (p.isNull()) return p;
    QPixmap out = p;
    out.setMask(p.createMaskFromColor(mask, Qt::MaskInColor));
    return out;
}

} // namespace

StyleButton::StyleButton(QWidget* parent) : QWidget(parent)
{
    const QPalette pal = QApplication::palette();
    backColor_ = backColorOver_ = maskColor_ = pal.color(QPalette::Button);
    foreColor_ = foreColorOver_ = pal.color(QPalette::ButtonText);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
    overTimer_.setObjectName("OverTimer");
    overTimer_.setInterval(kOverTimerMs);
    connect(&overTimer_, &QTimer::timeout, this, &StyleButton::checkPointer);
}

int StyleButton::frameFamily(int t)
{
    switch (t) {
    case 1: case 2: case 3: case 4: case 6: case 9: case 11: case 14: return t;
    case 7: case 8: case 12: return 7;
    default: return 0;
    }
}

StyleButton::Look StyleButton::look() const
{
    if (!isEnabled()) return Look::Disabled;
    if (pressed_ || (switchMode_ && buttonState_ == 2)) return Look::Down;
    if (hovered_) return Look::Hover;
    return Look::Normal;
}

QPixmap StyleButton::currentPicture() const
{
    QPixmap pic;
    switch (look()) {
    case Look::Down: pic = pictureDown_.isNull() ? picture_ : pictureDown_; break;
    case Look::Hover: pic = pictureOver_.isNull() ? picture_ : pictureOver_; break;
    case Look::Disabled:
        if (pictureDisabledSame_) pic = picture_;
        else if (!pictureDisabled_.isNull()) pic = pictureDisabled_;
        else pic = pictureDisableGreyUse_ ? greyed(picture_) : picture_;
        break;
    case Look::Normal: pic = picture_; break;
    }
    if (pictureGreyUse_ && look() == Look::Normal) pic = greyed(pic);
    if (maskColorUse_) pic = masked(pic, maskColor_);
    return pic;
}

void StyleButton::changed()
{
    changed_ = true;
    update();
}

#define QV_SETTER(Name, member, Type)                                                                                  \
    void StyleButton::set##Name(Type v)                                                                                \
    {                                                                                                                  \
        member = v;                                                                                                    \
        changed();                                                                                                     \
    }
QV_SETTER(BackColor, backColor_, const QColor&)
QV_SETTER(BackColorOver, backColorOver_, const QColor&)
QV_SETTER(ForeColor, foreColor_, const QColor&)
QV_SETTER(ForeColorOver, foreColorOver_, const QColor&)
QV_SETTER(MaskColor, maskColor_, const QColor&)
QV_SETTER(ButtonSwitchMode, switchMode_, bool)
QV_SETTER(ButtonState, buttonState_, int)
QV_SETTER(ButtonType, buttonType_, int)
QV_SETTER(Caption, caption_, const QString&)
QV_SETTER(DownPictureShift, downPictureShift_, int)
QV_SETTER(DownCaptionShift, downCaptionShift_, int)
QV_SETTER(Caption_ShiftX, captionShiftX_, int)
QV_SETTER(Caption_ShiftY, captionShiftY_, int)
QV_SETTER(ColorScheme, colorScheme_, int)
QV_SETTER(ShowFocusRect, showFocusRect_, bool)
QV_SETTER(PictureOver, pictureOver_, const QPixmap&)
QV_SETTER(PictureDown, pictureDown_, const QPixmap&)
QV_SETTER(PictureDisabled, pictureDisabled_, const QPixmap&)
QV_SETTER(PictureDisabledSame, pictureDisabledSame_, bool)
QV_SETTER(PicturePosition, picturePosition_, int)
QV_SETTER(MaskColorUse, maskColorUse_, bool)
QV_SETTER(PictureGreyUse, pictureGreyUse_, bool)
QV_SETTER(PictureDisableGreyUse, pictureDisableGreyUse_, bool)
#undef QV_SETTER

void StyleButton::setOLEDropMode(int v)
{
    oleDropMode_ = v;
    setAcceptDrops(v != 0);
    changed();
}

void StyleButton::setPicture(const QPixmap& p)
{
    picture_ = p;
    changed();
}

void StyleButton::SetStretchPicture(const QPixmap& p)
{
    setPicture(p.isNull() ? p : p.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void StyleButton::setSkipOverAndEnter(bool v)
{
    skipOverAndEnter_ = v;
    setMouseTracking(!v);
    if (v && hovered_) {
        overTimer_.stop();
        hovered_ = false;
    }
    changed();
}

void StyleButton::setEnabled(bool v)
{
    QWidget::setEnabled(v);
    if (!v) pressed_ = false;
    changed();
}

void StyleButton::setMousePointer(int v)
{
    mousePointer_ = v;
    if (v == 99 && !mouseIcon_.isNull()) setCursor(QCursor(mouseIcon_));
    else if (v == 0 || v == 99) unsetCursor();
    else setCursor(Qt::PointingHandCursor);
    changed();
}

void StyleButton::setMouseIcon(const QPixmap& p)
{
    mouseIcon_ = p;
    setMousePointer(mousePointer_);
}

QVariantMap StyleButton::writeProperties() const
{
    QVariantMap m;
    m["OLEDropMode"] = oleDropMode_;
    m["BTYPE"] = buttonType_;
    m["BSTATE"] = buttonState_;
    m["SkipOverAndEnter"] = skipOverAndEnter_;
    m["ButtonSwitchMode"] = switchMode_;
    m["TX"] = caption_;
    m["ENAB"] = isEnabled();
    m["FONT"] = font();
    m["COLTYPE"] = colorScheme_;
    m["FOCUSR"] = showFocusRect_;
    m["BCOL"] = backColor_;
    m["BCOLO"] = backColorOver_;
    m["FCOL"] = foreColor_;
    m["FCOLO"] = foreColorOver_;
    m["MCOL"] = maskColor_;
    m["MPTR"] = mousePointer_;
    m["MICON"] = mouseIcon_;
    m["PICN"] = picture_;
    m["PICO"] = pictureOver_;
    m["PICDn"] = pictureDown_;
    m["PICD"] = pictureDisabled_;
    m["PicdSame"] = pictureDisabledSame_;
    m["PICPOS"] = picturePosition_;
    m["UMCOL"] = maskColorUse_;
    m["NGREY"] = pictureGreyUse_;
    m["PictureDisableGreyUse"] = pictureDisableGreyUse_;
    m["Caption_ShiftX"] = captionShiftX_;
    m["Caption_ShiftY"] = captionShiftY_;
    m["DownPictureShift"] = downPictureShift_;
    m["DownCaptionShift"] = downCaptionShift_;
    const_cast<StyleButton*>(this)->changed_ = false;
    return m;
}

void StyleButton::readProperties(const QVariantMap& m)
{
    const QPalette pal = QApplication::palette();
    auto get = [&](const char* key, const QVariant& def) { return m.contains(key) ? m.value(key) : def; };
    oleDropMode_ = get("OLEDropMode", 0).toInt();
    setAcceptDrops(oleDropMode_ != 0);
    buttonType_ = get("BTYPE", 2).toInt();
    buttonState_ = get("BSTATE", 0).toInt();
    skipOverAndEnter_ = get("SkipOverAndEnter", true).toBool();
    setMouseTracking(!skipOverAndEnter_);
    switchMode_ = get("ButtonSwitchMode", false).toBool();
    caption_ = get("TX", QString()).toString();
    QWidget::setEnabled(get("ENAB", true).toBool());
    if (m.contains("FONT")) setFont(m.value("FONT").value<QFont>());
    else if (parentWidget()) setFont(parentWidget()->font());
    colorScheme_ = get("COLTYPE", 1).toInt();
    showFocusRect_ = get("FOCUSR", false).toBool();
    backColor_ = get("BCOL", pal.color(QPalette::Button)).value<QColor>();
    backColorOver_ = get("BCOLO", backColor_).value<QColor>();
    foreColor_ = get("FCOL", pal.color(QPalette::ButtonText)).value<QColor>();
    foreColorOver_ = get("FCOLO", foreColor_).value<QColor>();
    maskColor_ = get("MCOL", backColor_).value<QColor>();
    mouseIcon_ = get("MICON", QPixmap()).value<QPixmap>();
    setMousePointer(get("MPTR", 99).toInt());
    picture_ = get("PICN", QPixmap()).value<QPixmap>();
    pictureOver_ = get("PICO", QPixmap()).value<QPixmap>();
    pictureDown_ = get("PICDn", QPixmap()).value<QPixmap>();
    pictureDisabled_ = get("PICD", QPixmap()).value<QPixmap>();
    pictureDisabledSame_ = get("PicdSame", false).toBool();
    picturePosition_ = get("PICPOS", 4).toInt();
    maskColorUse_ = get("UMCOL", false).toBool();
    pictureGreyUse_ = get("NGREY", false).toBool();
    pictureDisableGreyUse_ = get("PictureDisableGreyUse", false).toBool();
    captionShiftX_ = get("Caption_ShiftX", 0).toInt();
    captionShiftY_ = get("Caption_ShiftY", 0).toInt();
    downPictureShift_ = get("DownPictureShift", 1).toInt();
    downCaptionShift_ = get("DownCaptionShift", 1).toInt();
    changed_ = false;
    update();
}

// ---- drawing ----

void StyleButton::paintFrame(QPainter& p, const QRect& r, Look lk, const QColor& back) const
{
    const bool down = lk == Look::Down;
    const QColor light = back.lighter(150), dark = back.darker(170), darker = back.darker(260);
    auto bevel = [&](const QRect& rc, const QColor& tl, const QColor& br) {
        p.setPen(tl);
        p.drawLine(rc.topLeft(), rc.topRight());
        p.drawLine(rc.topLeft(), rc.bottomLeft());
        p.setPen(br);
        p.drawLine(rc.bottomLeft(), rc.bottomRight());
        p.drawLine(rc.topRight(), rc.bottomRight());
    };
    switch (frameFamily(buttonType_)) {
    case 1: // flat: a frame only while hovered or down
        if (lk == Look::Hover || down) bevel(r, down ? dark : light, down ? light : dark);
        break;
    case 2: // raised, two-pixel bevel; sunken while down
        bevel(r, down ? darker : light, down ? light : darker);
        bevel(r.adjusted(1, 1, -1, -1), down ? dark : back.lighter(115), down ? back : dark);
        break;
    case 3: // thin single line
        p.setPen(down ? darker : dark);
        p.drawRect(r);
        break;
    case 4: // rounded
        p.setPen(down ? darker : dark);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        break;
    case 6: // soft: one-pixel bevel
        bevel(r, down ? dark : light, down ? light : dark);
        break;
    case 9: // framed with a dark outer line
        p.setPen(darker);
        p.drawRect(r);
        bevel(r.adjusted(1, 1, -1, -1), down ? dark : light, down ? light : dark);
        break;
    case 11: // underline
        p.setPen(down ? darker : dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        break;
    case 14: // double line
        p.setPen(dark);
        p.drawRect(r);
        p.drawRect(r.adjusted(2, 2, -2, -2));
        break;
    case 7: // thick dark border
        p.setPen(QPen(down ? darker : dark, 2));
        p.drawRect(r.adjusted(1, 1, -1, -1));
        break;
    default: // plain face
        break;
    }
}

void StyleButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const Look lk = look();
    const QRect r = rect().adjusted(0, 0, -1, -1);
    QColor back = lk == Look::Hover ? backColorOver_ : backColor_;
    QColor fore = lk == Look::Hover ? foreColorOver_ : foreColor_;
    if (lk == Look::Disabled) fore = palette().color(QPalette::Disabled, QPalette::ButtonText);

    if (colorScheme_ == 2) {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, back.lighter(lk == Look::Down ? 100 : 112));
        g.setColorAt(1, back.darker(lk == Look::Down ? 112 : 104));
        p.fillRect(rect(), g);
    } else {
        p.fillRect(rect(), lk == Look::Down && colorScheme_ == 0 ? back.darker(110) : back);
    }
    paintFrame(p, r, lk, back);

    const int pd = lk == Look::Down ? downPictureShift_ : 0;
    const int cd = lk == Look::Down ? downCaptionShift_ : 0;
    QRect textRect = rect().adjusted(4, 2, -4, -2);
    const QPixmap pic = currentPicture();
    if (!pic.isNull()) {
        const QSize ps = pic.size() / pic.devicePixelRatio();
        QPoint at;
        switch (picturePosition_) {
        case 0: // left of the caption
            at = {4, (height() - ps.height()) / 2};
            textRect.setLeft(8 + ps.width());
            break;
        case 1: // right
            at = {width() - 4 - ps.width(), (height() - ps.height()) / 2};
            textRect.setRight(width() - 8 - ps.width());
            break;
        case 2: // above
            at = {(width() - ps.width()) / 2, 3};
            textRect.setTop(5 + ps.height());
            break;
        case 3: // below
            at = {(width() - ps.width()) / 2, height() - 3 - ps.height()};
            textRect.setBottom(height() - 5 - ps.height());
            break;
        default: // centred, behind the caption
            at = {(width() - ps.width()) / 2, (height() - ps.height()) / 2};
            break;
        }
        p.drawPixmap(at + QPoint(pd, pd), pic);
    }
    if (!caption_.isEmpty()) {
        p.setPen(fore);
        p.setFont(font());
        p.drawText(textRect.translated(captionShiftX_ + cd, captionShiftY_ + cd),
                   Qt::AlignCenter | Qt::TextWordWrap, caption_);
    }
    if (showFocusRect_ && focused_) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }
}

// ---- input ----

bool StyleButton::pointerInside() const { return rect().contains(mapFromGlobal(QCursor::pos())); }

void StyleButton::enterHover()
{
    if (skipOverAndEnter_ || hovered_ || !isEnabled()) return;
    hovered_ = true;
    update();
    emit MouseEnter();
    overTimer_.start();
}

void StyleButton::checkPointer()
{
    // The widget under the pointer decides, so that a window covering the button ends the hover.
    if (pointerInside() && QApplication::widgetAt(QCursor::pos()) == this) return;
    overTimer_.stop();
    hovered_ = false;
    if (isEnabled()) update();
    emit MouseLeave();
}

void StyleButton::mousePressEvent(QMouseEvent* e)
{
    if (!isEnabled()) return;
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
        update();
    }
    const QPoint pos = e->position().toPoint();
    emit MouseDown(buttonCode(e->button()), shiftState(e->modifiers()), pos.x(), pos.y());
}

void StyleButton::mouseMoveEvent(QMouseEvent* e)
{
    if (!isEnabled()) return;
    enterHover();
    const QPoint pos = e->position().toPoint();
    if (e->buttons() & Qt::LeftButton) {
        const bool inside = rect().contains(pos);
        if (inside != pressed_) {
            pressed_ = inside;
            update();
        }
    }
    emit MouseMove(buttonCode(e->buttons()), shiftState(e->modifiers()), pos.x(), pos.y());
}

void StyleButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (!isEnabled()) return;
    const QPoint pos = e->position().toPoint();
    const bool click = e->button() == Qt::LeftButton && pressed_ && rect().contains(pos);
    if (e->button() == Qt::LeftButton) pressed_ = false;
    if (click && switchMode_) buttonState_ = buttonState_ == 2 ? 0 : 2;
    update();
    emit MouseUp(buttonCode(e->button()), shiftState(e->modifiers()), pos.x(), pos.y());
    if (click) emit Click();
}

void StyleButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!isEnabled()) return;
    if (e->button() == Qt::LeftButton) emit DblClick();
}

void StyleButton::keyPressEvent(QKeyEvent* e)
{
    emit KeyDown(e->key(), shiftState(e->modifiers()));
    if (!e->text().isEmpty()) emit KeyPress(e->text().at(0).unicode());
    if (isEnabled() && !e->isAutoRepeat() && (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return)) {
        if (switchMode_) buttonState_ = buttonState_ == 2 ? 0 : 2;
        update();
        emit Click();
    }
}

void StyleButton::keyReleaseEvent(QKeyEvent* e) { emit KeyUp(e->key(), shiftState(e->modifiers())); }

void StyleButton::focusInEvent(QFocusEvent*)
{
    focused_ = true;
    update();
}

void StyleButton::focusOutEvent(QFocusEvent*)
{
    focused_ = false;
    update();
}

void StyleButton::dragEnterEvent(QDragEnterEvent* e)
{
    if (oleDropMode_ != 0 && (e->mimeData()->hasUrls() || e->mimeData()->hasText())) e->acceptProposedAction();
}

void StyleButton::dropEvent(QDropEvent* e)
{
    QStringList files;
    for (const QUrl& u : e->mimeData()->urls())
        if (u.isLocalFile()) files << u.toLocalFile();
    emit OLEDragDrop(files, e->mimeData()->text());
    e->acceptProposedAction();
}

void StyleButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        pressed_ = false;
        if (hovered_) {
            overTimer_.stop();
            hovered_ = false;
            emit MouseLeave();
        }
    }
    if (e->type() == QEvent::FontChange || e->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(e);
}
