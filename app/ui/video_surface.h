#pragma once
#include <QRect>
#include <QWidget>

#include <array>

namespace qorvid {

// A native window that the player draws into ("-wid"). Qt never paints it, so that a repaint
// cannot erase a paused picture. With cropping on, a rectangle drawn on it with the mouse is
// the crop rectangle, in the surface's own pixels.
class VideoSurface final : public QWidget {
    Q_OBJECT
public:
    explicit VideoSurface(QWidget* parent, bool cropping);
    QPaintEngine* paintEngine() const override { return nullptr; }
    unsigned long long windowHandle() { return static_cast<unsigned long long>(winId()); }

    // The rectangle kept; empty when there is none.
    QRect cropRect() const { return crop_; }
    void setCropRect(const QRect& r);

signals:
    // The rectangle was drawn (empty: none, because it left the picture or was too small).
    void cropDrawn(const QRect& rect);

protected:
    void paintEvent(QPaintEvent*) override {}
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void showBand(const QRect& r);

    bool cropping_;
    bool drawing_ = false;
    QPoint from_;
    QRect crop_;
    std::array<QWidget*, 4> edges_{};
};

// Whether a rectangle drawn on a picture of the size given is kept as a crop rectangle.
bool keepsCrop(const QRect& drawn, const QSize& picture);

} // namespace qorvid
