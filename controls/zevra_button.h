#pragma once
#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The picture button of the player's control panel: up, half-checked, down (latched) and
// disabled looks, each with its picture (or the caption when there is none). A click toggles
// the button down and up as a graphical check box does; the container sets State to latch,
// free and disable it.
class ZevraButton final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int State READ State WRITE setState)
    Q_PROPERTY(int Style READ Style WRITE setStyle)
    Q_PROPERTY(int Mode READ Mode WRITE setMode)
    Q_PROPERTY(int OLEDropMode READ OLEDropMode WRITE setOLEDropMode)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(QColor MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QPixmap DownPicture READ DownPicture WRITE setDownPicture)
    Q_PROPERTY(QPixmap DisabledPicture READ DisabledPicture WRITE setDisabledPicture)
public:
    enum StateValue { kUp = 0, kHalf = 1, kDown = 2, kDisabled = 3 };
    // Mode: 1 the button does not go down on press; 2 the press is reported at mouse down.
    enum ModeValue { kPlain = 0, kNoDown = 1, kPressAtOnce = 2 };
    // How often the pointer watch looks whether the pointer has left.
    static constexpr int kWatchMs = 100;

    explicit ZevraButton(QWidget* parent = nullptr);

    int State() const { return state_; }
    void setState(int v);
    // Below 2: the player window may use the button.
    bool usable() const { return state_ < kDown; }
    int Style() const { return style_; }
    void setStyle(int v);
    int Mode() const { return mode_; }
    void setMode(int v);
    WId hwnd() { return winId(); }
    int OLEDropMode() const { return oleDropMode_; }
    void setOLEDropMode(int v);
    QString Caption() const { return caption_; }
    void setCaption(const QString& v);
    void SetToolTip(const QString& text) { setToolTip(text); }
    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& c);
    QColor ForeColor() const { return foreColor_; }
    void setForeColor(const QColor& c);
    QColor MaskColor() const { return maskColor_; }
    void setMaskColor(const QColor& c);
    bool UseMaskColor() const { return useMaskColor_; }
    void setUseMaskColor(bool v);
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& p);
    QPixmap DownPicture() const { return downPicture_; }
    void setDownPicture(const QPixmap& p);
    QPixmap DisabledPicture() const { return disabledPicture_; }
    void setDisabledPicture(const QPixmap& p);

    bool hovered() const { return hovered_; }
    bool propertiesChanged() const { return changed_; }
    // The picture of the look shown now (after the mask colour), null when the caption shows.
    QPixmap currentPicture() const;

signals:
    void Press(); // Mode 2: at mouse down
    void Click();
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void enterEvent(QEnterEvent*) override;

private:
    void changed();
    void watchPointer();

    QTimer watch_;
    int state_ = kUp;
    int style_ = 0;
    int mode_ = kPlain;
    int oleDropMode_ = 0;
    QString caption_;
    QColor backColor_, foreColor_, maskColor_;
    bool useMaskColor_ = true;
    QPixmap picture_, downPicture_, disabledPicture_;
    int stateAtPress_ = kUp;
    bool pressed_ = false;
    bool hovered_ = false;
    bool changed_ = false;
};
