#pragma once
#include <QTimer>
#include <QWidget>

#include <string>

class QLabel;

namespace qorvid {

// The start-up window: a scrolling greeting and list of loading steps; once the main window
// is ready it fades that window in, fully opaque by tick 120, and closes after tick 125.
class frmSplash final : public QWidget {
    Q_OBJECT
public:
    // chinese: the Chinese text form (the settings say "Language=tw", or the system is "tw").
    frmSplash(bool chinese, QWidget* mainWindow);

    static QString marqueeText(bool chinese);
    // Whether the splash speaks Chinese: from the settings file text and the system's language.
    static bool chineseFor(const std::string& settingsText, const std::string& systemLanguage);

    // The program-wide "main window ready" signal of the start-up.
    void mainWindowReady() { ready_ = true; }
    // One tick of timeMarquee (public so that the fade can be followed tick by tick).
    void tick();
    int ticks() const { return ticks_; }
    // The main window's opacity in 0..255 after the last tick.
    int opacity() const { return opacity_; }

    static constexpr int kTickMs = 25;
    static constexpr int kFullTick = 120;
    static constexpr int kCloseAfter = 125;

signals:
    void finished();

protected:
    void closeEvent(QCloseEvent*) override;

private:
    QWidget* main_;
    QLabel* lblMarquee_;
    QWidget* picRestore_;
    QTimer timeMarquee_;
    int ticks_ = 0;
    int fadeStart_ = -1;
    double step_ = 0;
    int opacity_ = 0;
    bool ready_ = false;
};

} // namespace qorvid
