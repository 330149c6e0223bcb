#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

class QGridLayout;
class QLabel;
class QStackedLayout;

// The tab strip of a window: rows of captions above one page at a time. The pages are widgets
// of the containing window named after TabPictureBox ("picZevraTab_0", "picZevraTab_1", ...);
// the strip takes them into its page area when they are first needed.
class ZevraTab final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString TabPictureBox READ TabPictureBox WRITE setTabPictureBox)
    Q_PROPERTY(QColor TabCapColor READ TabCapColor WRITE setTabCapColor)
    Q_PROPERTY(QFont TabCapFont READ TabCapFont WRITE setTabCapFont)
    Q_PROPERTY(int Tabs READ Tabs WRITE setTabs)
    Q_PROPERTY(int TabsPerRow READ TabsPerRow WRITE setTabsPerRow)
    Q_PROPERTY(int TabNow READ TabNow WRITE setTabNow)
    Q_PROPERTY(QString All_Caption READ All_Caption)
public:
    static constexpr QChar kSeparator = QChar(0x2261); // "≡"

    explicit ZevraTab(QWidget* parent = nullptr);

    QString TabPictureBox() const { return tabPictureBox_; }
    void setTabPictureBox(const QString& name);
    QColor TabCapColor() const { return capColor_; }
    void setTabCapColor(const QColor& c);
    QFont TabCapFont() const { return capFont_; }
    void setTabCapFont(const QFont& f);
    int Tabs() const { return tabs_; }
    void setTabs(int n);
    int TabsPerRow() const { return tabsPerRow_; }
    void setTabsPerRow(int n);
    int TabNow() const { return tabNow_; }
    // Selects the tab and shows its page at once (no click event).
    void setTabNow(int index);
    // Caption of tab i: its part of All_Caption, or "Tab " + i when that part is empty.
    QString TabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);
    QString All_Caption() const { return allCaption_; }

    // A caption's click, as the mouse gives it.
    void clickTab(int index);

signals:
    void Click(int index);
    // The named page array is not on the containing window; text is the message to show.
    void MissingPages(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent*) override;

private:
    void rebuildCaptions();
    void redrawCaptions();
    bool attachPages();
    void showPage(); // the tmrClick tick: the selected tab's page to the front

    QString tabPictureBox_ = "picZevraTab";
    QColor capColor_;
    QFont capFont_;
    int tabs_ = 3;
    int tabsPerRow_ = 3;
    int tabNow_ = 0;
    QString allCaption_;

    QGridLayout* captionRows_ = nullptr;
    QStackedLayout* pageArea_ = nullptr;
    std::vector<QLabel*> lblTabCap_;
    std::vector<QWidget*> picTabCap_;
    std::vector<QWidget*> pages_;
    QTimer tmrClick;
};
