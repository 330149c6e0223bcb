#include "app/ui/video_surface.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace qorvid {

namespace {
constexpr int kMinCrop = 4;
constexpr int kEdge = 2;
} // namespace

bool keepsCrop(const QRect& r, const QSize& picture)
{
    if (r.left() < 0 || r.top() < 0 || r.left() + r.width() > picture.width() || r.top() + r.height() > picture.height())
        return false;
    return r.width() >= kMinCrop && r.height() >= kMinCrop;
}

VideoSurface::VideoSurface(QWidget* parent, bool cropping) : QWidget(parent), cropping_(cropping)
{
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    if (!cropping_) return;
    setCursor(Qt::CrossCursor);
    for (QWidget*& e : edges_) {
        // Native as well, or they would lie under the player's picture.
        e = new QWidget(this);
        e->setAttribute(Qt::WA_DontCreateNativeAncestors);
        e->setAttribute(Qt::WA_NativeWindow);
        e->setAttribute(Qt::WA_TransparentForMouseEvents);
        e->setAutoFillBackground(true);
        QPalette p = e->palette();
        p.setColor(QPalette::Window, QColor(255, 40, 40));
        e->setPalette(p);
        e->hide();
    }
}

void VideoSurface::showBand(const QRect& r)
{
    if (!cropping_) return;
    if (r.isEmpty()) {
        for (QWidget* e : edges_) e->hide();
        return;
    }
    edges_[0]->setGeometry(r.left(), r.top(), r.width(), kEdge);
    edges_[1]->setGeometry(r.left(), r.top() + r.height() - kEdge, r.width(), kEdge);
    edges_[2]->setGeometry(r.left(), r.top(), kEdge, r.height());
    edges_[3]->setGeometry(r.left() + r.width() - kEdge, r.top(), kEdge, r.height());
    for (QWidget* e : edges_) {
        e->show();
        e->raise();
    }
}

void VideoSurface::setCropRect(const QRect& r)
{
    crop_ = r;
    showBand(r);
}

void VideoSurface::mousePressEvent(QMouseEvent* e)
{
    if (!cropping_ || e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    drawing_ = true;
    from_ = e->position().toPoint();
    showBand({});
}

void VideoSurface::mouseMoveEvent(QMouseEvent* e)
{
    if (!drawing_) return;
    showBand(QRect(from_, e->position().toPoint()).normalized());
}

void VideoSurface::mouseReleaseEvent(QMouseEvent* e)
{
    if (!drawing_ || e->button() != Qt::LeftButton) return;
    drawing_ = false;
    const QPoint to = e->position().toPoint();
    // Right and bottom are the pointer's own position: a rectangle is its edges, not its pixels.
    QRect r(QPoint(std::min(from_.x(), to.x()), std::min(from_.y(), to.y())),
            QSize(std::abs(to.x() - from_.x()), std::abs(to.y() - from_.y())));
    if (!keepsCrop(r, size())) r = QRect();
    setCropRect(r);
    emit cropDrawn(r);
}

void VideoSurface::resizeEvent(QResizeEvent*)
{
    // A rectangle drawn on another size no longer means the same part of the picture.
    if (!crop_.isEmpty() && !keepsCrop(crop_, size())) {
        setCropRect({});
        emit cropDrawn({});
    }
}

} // namespace qorvid
