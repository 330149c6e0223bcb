#pragma once
#include <QWidget>

namespace qorvid {

// Two pictures that take turns while a job runs (imgFun); still when idle.
class BusyPicture final : public QWidget {
    Q_OBJECT
public:
    explicit BusyPicture(QWidget* parent = nullptr) : QWidget(parent) {}
    void setActive(bool active);
    bool active() const { return active_; }
    void advance(); // one tick of tmrFun
    int frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool active_ = false;
    int frame_ = 0;
};

} // namespace qorvid
