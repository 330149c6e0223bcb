#pragma once
#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

// An owner-drawn push button: a face in one of several numbered frame styles, a caption and
// up to four pictures (normal, hover, down, disabled), an optional hover look and a switch mode.
class StyleButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int OLEDropMode READ OLEDropMode WRITE setOLEDropMode)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(QColor BackColorOver READ BackColorOver WRITE setBackColorOver)
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(QColor ForeColorOver READ ForeColorOver WRITE setForeColorOver)
    Q_PROPERTY(QColor MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(bool SkipOverAndEnter READ SkipOverAndEnter WRITE setSkipOverAndEnter)
    Q_PROPERTY(bool ButtonSwitchMode READ ButtonSwitchMode WRITE setButtonSwitchMode)
    Q_PROPERTY(int ButtonState READ ButtonState WRITE setButtonState)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int DownPictureShift READ DownPictureShift WRITE setDownPictureShift)
    Q_PROPERTY(int DownCaptionShift READ DownCaptionShift WRITE setDownCaptionShift)
    Q_PROPERTY(int Caption_ShiftX READ Caption_ShiftX WRITE setCaption_ShiftX)
    Q_PROPERTY(int Caption_ShiftY READ Caption_ShiftY WRITE setCaption_ShiftY)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QPixmap PictureOver READ PictureOver WRITE setPictureOver)
    Q_PROPERTY(QPixmap PictureDown READ PictureDown WRITE setPictureDown)
    Q_PROPERTY(QPixmap PictureDisabled READ PictureDisabled WRITE setPictureDisabled)
    Q_PROPERTY(bool PictureDisabledSame READ PictureDisabledSame WRITE setPictureDisabledSame)
    Q_PROPERTY(int PicturePosition READ PicturePosition WRITE setPicturePosition)
    Q_PROPERTY(bool MaskColorUse READ MaskColorUse WRITE setMaskColorUse)
    Q_PROPERTY(bool PictureGreyUse READ PictureGreyUse WRITE setPictureGreyUse)
    Q_PROPERTY(bool PictureDisableGreyUse READ PictureDisableGreyUse WRITE setPictureDisableGreyUse)

public:
    explicit StyleButton(QWidget* parent = nullptr);

    // The look drawn now, for the frame-style routine and for tests.
    enum class Look { Normal, Hover, Down, Disabled };
    Look look() const;
    // The picture for the current look, after the fallbacks and greying.
    QPixmap currentPicture() const;
    bool hovered() const { return hovered_; }
    bool pressed() const { return pressed_; }
    // The drawing family of a frame-style number: its own number for 1, 2, 3, 4, 6, 9, 11,
    // 14; 7 for 7, 8 and 12; 0 (plain face) for the rest.
    static int frameFamily(int buttonType);

    // The stored form of the properties, under their keys; a missing key gives its default.
    QVariantMap writeProperties() const;
    void readProperties(const QVariantMap& bag);
    // Properties changed since the last write.
    bool propertiesChanged() const { return changed_; }

    int OLEDropMode() const { return oleDropMode_; }
    void setOLEDropMode(int v);
    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& c);
    QColor BackColorOver() const { return backColorOver_; }
    void setBackColorOver(const QColor& c);
    QColor ForeColor() const { return foreColor_; }
    void setForeColor(const QColor& c);
    QColor ForeColorOver() const { return foreColorOver_; }
    void setForeColorOver(const QColor& c);
    QColor MaskColor() const { return maskColor_; }
    void setMaskColor(const QColor& c);
    bool SkipOverAndEnter() const { return skipOverAndEnter_; }
    void setSkipOverAndEnter(bool v);
    bool ButtonSwitchMode() const { return switchMode_; }
    void setButtonSwitchMode(bool v);
    int ButtonState() const { return buttonState_; }
    void setButtonState(int v);
    int ButtonType() const { return buttonType_; }
    void setButtonType(int v);
    QString Caption() const { return caption_; }
    void setCaption(const QString& v);
    int DownPictureShift() const { return downPictureShift_; }
    void setDownPictureShift(int v);
    int DownCaptionShift() const { return downCaptionShift_; }
    void setDownCaptionShift(int v);
    int Caption_ShiftX() const { return captionShiftX_; }
    void setCaption_ShiftX(int v);
    int Caption_ShiftY() const { return captionShiftY_; }
    void setCaption_ShiftY(int v);
    bool Enabled() const { return isEnabled(); }
    void setEnabled(bool v);
    int ColorScheme() const { return colorScheme_; }
    void setColorScheme(int v);
    bool ShowFocusRect() const { return showFocusRect_; }
    void setShowFocusRect(bool v);
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int v);
    QPixmap MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& p);
    WId hwnd() { return winId(); }
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& p);
    QPixmap PictureOver() const { return pictureOver_; }
    void setPictureOver(const QPixmap& p);
    QPixmap PictureDown() const { return pictureDown_; }
    void setPictureDown(const QPixmap& p);
    QPixmap PictureDisabled() const { return pictureDisabled_; }
    void setPictureDisabled(const QPixmap& p);
    bool PictureDisabledSame() const { return pictureDisabledSame_; }
    void setPictureDisabledSame(bool v);
    int PicturePosition() const { return picturePosition_; }
    void setPicturePosition(int v);
    bool MaskColorUse() const { return maskColorUse_; }
    void setMaskColorUse(bool v);
    bool PictureGreyUse() const { return pictureGreyUse_; }
    void setPictureGreyUse(bool v);
    bool PictureDisableGreyUse() const { return pictureDisableGreyUse_; }
    void setPictureDisableGreyUse(bool v);

    void Refresh() { update(); }
    // Takes the picture stretched to the button's size.
    void SetStretchPicture(const QPixmap& p);

    // How often the hover timer checks the pointer.
    static constexpr int kOverTimerMs = 50;

signals:
    void Click();
    void DblClick();
    void KeyDown(int key, int shift);
    void KeyPress(int key);
    void KeyUp(int key, int shift);
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void MouseEnter();
    void MouseLeave();
    void OLEDragDrop(const QStringList& files, const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dropEvent(QDropEvent*) override;
    void changeEvent(QEvent*) override;

private:
    void changed();
    void checkPointer(); // the OverTimer tick
    void enterHover();
    bool pointerInside() const;
    void paintFrame(class QPainter& p, const QRect& r, Look look, const QColor& back) const;

    QTimer overTimer_{this}; // a child, so that a test can find and tick it
    int oleDropMode_ = 0;
    QColor backColor_, backColorOver_, foreColor_, foreColorOver_, maskColor_;
    bool skipOverAndEnter_ = true;
    bool switchMode_ = false;
    int buttonState_ = 0;
    int buttonType_ = 2;
    QString caption_;
    int downPictureShift_ = 1;
    int downCaptionShift_ = 1;
    int captionShiftX_ = 0;
    int captionShiftY_ = 0;
    int colorScheme_ = 2; // a new instance; a stored form without the key reads 1
    bool showFocusRect_ = false;
    int mousePointer_ = 99;
    QPixmap mouseIcon_, picture_, pictureOver_, pictureDown_, pictureDisabled_;
    bool pictureDisabledSame_ = false;
    int picturePosition_ = 4;
    bool maskColorUse_ = false;
    bool pictureGreyUse_ = false;
    bool pictureDisableGreyUse_ = false;

    bool hovered_ = false;
    bool pressed_ = false;
    bool focused_ = false;
    bool changed_ = false;
};
