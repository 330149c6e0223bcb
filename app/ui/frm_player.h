#pragma once
#include "app/messages.h"
#include "player/mplayer.h"
#include "player/player_settings.h"

#include <QSize>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class ZevraButton;

namespace qorvid {

struct MainContext;
class PlayerSeekBar;
class VideoSurface;
class VolumeSlider;

// The stand-alone player window (" Plimbo"): plays one media file at a time through MPlayer,
// with a seek bar, transport buttons, ten-second jumps, volume, a context menu, dropped files
// and its own settings file. The controls carry their names (findChild) for the tests.
class frmPlayer final : public QWidget, public PlayerWindowView {
    Q_OBJECT
public:
    // mainWindow: hidden and shown again from the menu, and shown again at unload.
    frmPlayer(MainContext& ctx, QWidget* mainWindow);
    ~frmPlayer() override;

    // Told before the player starts a tool (the options window's preview stops then) and
    // while the main window's source side is in use by the open dialog.
    std::function<void()> beforePlay;
    std::function<void(bool)> markMainInUse;

    bool loaded() const { return loaded_; }
    int playState() const override { return playState_; }
    MPlayer* engine() const { return mplayer_.get(); }
    std::string settingsPath() const { return settingsPath_; }

    void ChangeLanguage();
    void setStopDosIo() override;
    void newPlay(const std::string& file);
    void failPlay();
    void ifStopped(bool disableAll = false);
    void myPutSize(bool request);
    void pausePrFn();
    void mbStop_Click();
    void shareBnStop();
    void mbPause_Click();
    void shareBnPause();
    void playSingle(const std::string& file);
    void mbPlay_Click();
    void jump(int direction);
    void showPlayerNote(const std::string& text) override;
    void hidePlayerNote() override;
    void setIconTip(const std::string& text) override;

    // The options window's big screen: the window shows that window's preview instead of a
    // file of its own, sized to the source. Returns the picture the preview draws into.
    VideoSurface* showPreview(int sourceWidth, int sourceHeight);
    // Back to a player of its own; the window hides (the preview tool is not stopped).
    void endPreview();
    bool previewInPlayer() const { return previewInPlayer_; }
    std::function<void()> previewClick;  // a left click on the picture while previewing
    std::function<void()> previewClosed; // the window was closed while previewing

signals:
    // Everything the player printed, as each poll read it.
    void playerOutput(const QString& text);

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // The load sequence (again after each unload).
    void load();
    void unload();
    void buildControls();
    QWidget* buildPanel();
    void buildMenu();
    void buildTimers();
    void readSettings();
    void writeSettings();
    void enableMenus();
    void layoutVideo();
    void tmrCheckTick();
    void initVolume(bool initial);
    void soundClick();
    void volumeChosen(int volume);
    void seekBarPressed(int x);
    void thumbReleased(int centre);
    void seekFrame(int frame);
    void measureSeekBar();
    void showPosition(int frame);
    void setTransport(int play, int pause, int stop, int backward, int forward);
    void latchForState();
    void toggleSpace();
    void centreNote();
    void setTimeLabel(QLabel* label, float seconds);
    void mnuOpenClick();
    void mnuShowHideMainClick();
    void mnuTopMostClick();
    void showContextMenu(const QPoint& globalPos);
    QString text(Msg m) const;

    MainContext& ctx_;
    QWidget* mainWindow_;
    std::unique_ptr<MPlayer> mplayer_;

    int playState_ = kStopped;
    int totalFrames_ = 0;
    float pixelsPerFrame_ = 0;
    bool busy_ = false;
    bool loaded_ = false;
    bool loadingSettings_ = false;
    int openReason_ = 0;
    int lastFrame_ = -1;
    int thumbTag_ = 0;  // polls left before the thumb follows the player again
    int volumeTag_ = -1; // the volume 0..1000; -1 none set yet
    std::string settingsPath_;
    std::string fileName_; // the file without its folder, kept with lblFnName
    QSize frameSize_;      // the space around the video picture

    QWidget* picPlayerContainer = nullptr;
    VideoSurface* picPlayer = nullptr;
    bool previewInPlayer_ = false;
    QSize previewSource_;
    QLabel* lblPlayerNote = nullptr;
    QWidget* picPlusBk = nullptr;
    PlayerSeekBar* picHsbBack = nullptr;
    QWidget* picBnBk = nullptr;
    ZevraButton* mbPlay = nullptr;
    ZevraButton* mbPause = nullptr;
    ZevraButton* mbStop = nullptr;
    ZevraButton* mbBackward = nullptr;
    ZevraButton* mbForward = nullptr;
    ZevraButton* mbSound = nullptr;
    VolumeSlider* picVolSdr = nullptr;
    QLabel* picAssIcon = nullptr;
    QLabel* lblFnName = nullptr;
    QLabel* lblCurTime = nullptr;
    QLabel* lblSplit = nullptr;
    QLabel* lblTtTime = nullptr;
    QTimer* tmrCheck = nullptr;
    QTimer* tmrDrag = nullptr;
    QTimer* tmrCheckResize = nullptr;
    QString dragTag_;
    QMenu* mnuMain = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuExplorer = nullptr;
    QAction* mnuShowHideMain = nullptr;
    QAction* mnuKeepDef = nullptr;
    QAction* mnuKeepWH = nullptr;
    QAction* mnuTopMost = nullptr;
    QAction* mnuEnd = nullptr;
};

} // namespace qorvid
