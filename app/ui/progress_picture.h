#pragma once
#include <QColor>
#include <QWidget>

namespace qorvid {

// The progress bar of a job (picProgress): a bar filled to the percentage with the caption
// over it, in the running or the idle colours.
class ProgressPicture final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressPicture(QWidget* parent = nullptr);
    void draw(float percent, const QString& caption, bool idleStyle);
    float percent() const { return percent_; }
    QString caption() const { return caption_; }
    bool idleStyle() const { return idle_; }

signals:
    void drawn(float percent, const QString& caption, bool idleStyle);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    float percent_ = 0;
    QString caption_;
    bool idle_ = true;
};

// A box that shows one text centred, cleared before each text (picEncodeEsti).
class NotePicture final : public QWidget {
    Q_OBJECT
public:
    explicit NotePicture(QWidget* parent = nullptr);
    void print(const QString& text);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString text_;
};

// A colour given as the number of the original design: 0x00BBGGRR.
QColor colorFromNumber(unsigned number);

} // namespace qorvid
