#include "app/ui/player_bars.h"

#include <QMouseEvent>

#include <algorithm>

namespace qorvid {
namespace {

constexpr int kThumbWidth = 10;
constexpr int kKnobWidth = 8;
constexpr int kMargin = kThumbWidth / 2;

QFrame* part(QWidget* parent, const char* name, QFrame::Shape shape, const QColor& colour)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Sunken);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, colour);
    f->setPalette(p);
    return f;
}

} // namespace

PlayerSeekBar::PlayerSeekBar(QWidget* parent) : QFrame(parent)
{
    setObjectName("picHsbBack");
    setFixedHeight(16);
    bar_ = part(this, "picHsb", QFrame::Panel, QColor(70, 70, 80));
    thumb_ = part(this, "picHsb2", QFrame::Panel, QColor(200, 205, 220));
    thumb_->setFrameShadow(QFrame::Raised);
    thumb_->installEventFilter(this);
    thumb_->setCursor(Qt::SizeHorCursor);
}

int PlayerSeekBar::barWidth() const { return std::max(1, width() - 2 * kMargin); }

int PlayerSeekBar::thumbCentre() const { return centre_; }

void PlayerSeekBar::setThumbCentre(int x)
{
    centre_ = std::clamp(x, 0, barWidth());
    placeThumb();
}

void PlayerSeekBar::placeThumb() { thumb_->setGeometry(kMargin + centre_ - kThumbWidth / 2, 1, kThumbWidth, height() - 2); }

void PlayerSeekBar::resizeEvent(QResizeEvent*)
{
    bar_->setGeometry(kMargin, height() / 2 - 3, barWidth(), 6);
    setThumbCentre(centre_);
}

void PlayerSeekBar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) return QFrame::mousePressEvent(e);
    emit barPressed(std::clamp(qRound(e->position().x()) - kMargin, 0, barWidth()));
}

bool PlayerSeekBar::eventFilter(QObject* o, QEvent* e)
{
    if (o != thumb_ || !isEnabled()) return false;
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::MouseMove && t != QEvent::MouseButtonRelease) return false;
    auto* m = static_cast<QMouseEvent*>(e);
    const int x = qRound(thumb_->mapTo(this, m->position()).x()) - kMargin;
    switch (t) {
    case QEvent::MouseButtonPress:
        if (m->button() != Qt::LeftButton) return false;
        dragging_ = true;
        return true;
    case QEvent::MouseMove:
        if (dragging_) setThumbCentre(x);
        return dragging_;
    case QEvent::MouseButtonRelease:
        if (!dragging_ || m->button() != Qt::LeftButton) return false;
        dragging_ = false;
        setThumbCentre(x);
        emit thumbReleased(centre_);
        return true;
    default:
        return false;
    }
}

VolumeSlider::VolumeSlider(QWidget* parent) : QFrame(parent)
{
    setObjectName("picSndBk");
    setFixedSize(80, 16);
    track_ = part(this, "picVolSdr", QFrame::Panel, QColor(70, 70, 80));
    knob_ = part(this, "picVolPos", QFrame::Panel, QColor(200, 205, 220));
    knob_->setFrameShadow(QFrame::Raised);
    knob_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

int VolumeSlider::volumeAt(int x) const
{
    const int usable = std::max(1, width() - kKnobWidth);
    return std::clamp((x - kKnobWidth / 2) * kScale / usable, 0, kScale);
}

void VolumeSlider::setKnob(int volume)
{
    volume_ = std::clamp(volume, 0, kScale);
    placeKnob();
}

void VolumeSlider::placeKnob()
{
    const int usable = width() - kKnobWidth;
    knob_->setGeometry(volume_ * usable / kScale, 1, kKnobWidth, height() - 2);
}

void VolumeSlider::resizeEvent(QResizeEvent*)
{
    track_->setGeometry(kKnobWidth / 2, height() / 2 - 2, width() - kKnobWidth, 4);
    placeKnob();
}

void VolumeSlider::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) return QFrame::mousePressEvent(e);
    emit chosen(volumeAt(qRound(e->position().x())));
}

void VolumeSlider::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton) || !isEnabled()) return;
    emit chosen(volumeAt(qRound(e->position().x())));
}

} // namespace qorvid
