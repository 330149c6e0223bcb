#pragma once
#include <QWidget>

#include <optional>

namespace qorvid {

// The preview's time slider: a track (imgSliderBG) with the marked stretch and a thumb
// (imgSlider) that follows the played position unless the user holds it.
class PreviewSlider final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewSlider(QWidget* parent);

    void setLength(float seconds);
    // Moves the thumb to the played position; ignored while the thumb is held.
    void setPosition(float seconds);
    float position() const { return position_; }
    void setMarks(std::optional<float> start, std::optional<float> end);
    bool held() const { return held_; }
    // Seconds per track unit.
    float factor() const;
    QSize sizeHint() const override { return {320, 18}; }

signals:
    // The thumb was let go at this position (seconds, one decimal).
    void released(float seconds);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int trackLeft() const { return kThumb / 2; }
    int trackWidth() const { return std::max(1, width() - kThumb); }
    int xFor(float seconds) const;
    float secondsAt(int x) const;

    static constexpr int kThumb = 10;
    float length_ = 0;
    float position_ = 0;
    std::optional<float> markStart_, markEnd_;
    bool held_ = false;
    int heldX_ = 0;
};

} // namespace qorvid
