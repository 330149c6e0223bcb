#pragma once
#include <QFrame>
#include <QWidget>

namespace qorvid {

// The player's seek bar: the background (picHsbBack), the bar (picHsb) and the thumb
// (picHsb2). Positions are in the bar's pixels, 0 at its left end.
class PlayerSeekBar final : public QFrame {
    Q_OBJECT
public:
    explicit PlayerSeekBar(QWidget* parent);
    int barWidth() const;
    int thumbCentre() const;
    void setThumbCentre(int x);
    // The left button is held on the thumb: the poll leaves it alone.
    bool holdingThumb() const { return dragging_; }

signals:
    void barPressed(int x);
    void thumbReleased(int centre);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void placeThumb();

    QFrame* bar_;
    QFrame* thumb_;
    int centre_ = 0;
    bool dragging_ = false;
};

// The volume slider: the track (picVolSdr) with its knob (picVolPos) on a 0..1000 scale.
class VolumeSlider final : public QFrame {
    Q_OBJECT
public:
    explicit VolumeSlider(QWidget* parent);
    static constexpr int kScale = 1000;
    void setKnob(int volume);
    int knob() const { return volume_; }

signals:
    // A press or a drag on the track chose this volume.
    void chosen(int volume);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    int volumeAt(int x) const;
    void placeKnob();

    QFrame* track_;
    QFrame* knob_;
    int volume_ = kScale;
};

} // namespace qorvid
