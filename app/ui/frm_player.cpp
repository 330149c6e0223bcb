// The player window: its controls, its load and unload, its settings file and its captions.
#include "app/ui/frm_player.h"

#include "app/ui/main_context.h"
#include "app/ui/player_bars.h"
#include "app/ui/video_surface.h"
#include "controls/zevra_button.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QWindow>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

namespace qorvid {

namespace {

// The player's colour key (red 3, green 2, blue 1): what it draws over.
const QColor kColorKey(3, 2, 1);
const QColor kPanel(46, 48, 56);
const QColor kPanelText(225, 228, 235);
constexpr int kPollMs = 333; // as the options window's preview polls
constexpr int kDeferMs = 250;

template <class W>
W* named(QWidget* parent, const char* name)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

void paint(QWidget* w, const QColor& back, const QColor& fore = kPanelText)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, fore);
    w->setPalette(p);
}

ZevraButton* panelButton(QWidget* parent, const char* name, const char* glyph)
{
    auto* b = named<ZevraButton>(parent, name);
    b->setCaption(QString::fromUtf8(glyph));
    b->setBackColor(kPanel);
    b->setForeColor(kPanelText);
    b->setFixedSize(30, 24);
    return b;
}

} // namespace

frmPlayer::frmPlayer(MainContext& ctx, QWidget* mainWindow) : QWidget(nullptr, Qt::Window), ctx_(ctx), mainWindow_(mainWindow)
{
    setObjectName("frmPlayer");
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    buildControls();
    buildMenu();
    buildTimers();
    load();
}

frmPlayer::~frmPlayer()
{
    if (loaded_) unload();
}

QString frmPlayer::text(Msg m) const { return QString::fromStdString(toUnixLines(ctx_.lang[m])); }

void frmPlayer::buildControls()
{
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    picPlayerContainer = named<QWidget>(this, "picPlayerContainer");
    paint(picPlayerContainer, kColorKey);
    picPlayerContainer->installEventFilter(this);
    picPlayer = new VideoSurface(picPlayerContainer, false);
    picPlayer->setObjectName("picPlayer");
    picPlayer->installEventFilter(this);
    // Native, or it would lie under the player's picture.
    lblPlayerNote = named<QLabel>(picPlayerContainer, "lblPlayerNote");
    lblPlayerNote->setAttribute(Qt::WA_NativeWindow);
    paint(lblPlayerNote, kPanel);
    lblPlayerNote->setMargin(6);
    lblPlayerNote->hide();
    col->addWidget(picPlayerContainer, 1);
    col->addWidget(buildPanel());
}

QWidget* frmPlayer::buildPanel()
{
    picPlusBk = named<QWidget>(this, "picPlusBk");
    paint(picPlusBk, kPanel);
    auto* col = new QVBoxLayout(picPlusBk);
    col->setContentsMargins(4, 3, 4, 3);
    col->setSpacing(2);
    picHsbBack = new PlayerSeekBar(picPlusBk);
    connect(picHsbBack, &PlayerSeekBar::barPressed, this, &frmPlayer::seekBarPressed);
    connect(picHsbBack, &PlayerSeekBar::thumbReleased, this, &frmPlayer::thumbReleased);
    col->addWidget(picHsbBack);

    picBnBk = named<QWidget>(picPlusBk, "picBnBk");
    picBnBk->installEventFilter(this);
    auto* row = new QHBoxLayout(picBnBk);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    mbPlay = panelButton(picBnBk, "mbPlay", "▶");
    mbPause = panelButton(picBnBk, "mbPause", "❚❚");
    mbStop = panelButton(picBnBk, "mbStop", "■");
    mbBackward = panelButton(picBnBk, "mbBackward", "◀◀");
    mbForward = panelButton(picBnBk, "mbForward", "▶▶");
    for (ZevraButton* b : {mbPlay, mbPause, mbStop, mbBackward, mbForward}) row->addWidget(b);
    row->addSpacing(6);
    picAssIcon = named<QLabel>(picBnBk, "picAssIcon");
    picAssIcon->setFixedSize(16, 16);
    row->addWidget(picAssIcon);
    lblFnName = named<QLabel>(picBnBk, "lblFnName");
    lblFnName->setMinimumWidth(150);
    row->addWidget(lblFnName, 1);
    lblCurTime = named<QLabel>(picBnBk, "lblCurTime");
    lblSplit = named<QLabel>(picBnBk, "lblSplit");
    lblSplit->setText("/");
    lblTtTime = named<QLabel>(picBnBk, "lblTtTime");
    for (QLabel* l : {lblCurTime, lblSplit, lblTtTime}) row->addWidget(l);
    row->addSpacing(6);
    mbSound = panelButton(picBnBk, "mbSound", "♪");
    row->addWidget(mbSound);
    picVolSdr = new VolumeSlider(picBnBk);
    row->addWidget(picVolSdr);
    col->addWidget(picBnBk);

    connect(mbPlay, &ZevraButton::Click, this, &frmPlayer::mbPlay_Click);
    connect(mbPause, &ZevraButton::Click, this, &frmPlayer::mbPause_Click);
    connect(mbStop, &ZevraButton::Click, this, &frmPlayer::mbStop_Click);
    connect(mbBackward, &ZevraButton::Click, this, [this] { jump(-1); });
    connect(mbForward, &ZevraButton::Click, this, [this] { jump(1); });
    connect(mbSound, &ZevraButton::Click, this, &frmPlayer::soundClick);
    connect(picVolSdr, &VolumeSlider::chosen, this, &frmPlayer::volumeChosen);
    return picPlusBk;
}

void frmPlayer::buildMenu()
{
    mnuMain = named<QMenu>(this, "mnuMain");
    auto item = [this](const char* name) {
        QAction* a = mnuMain->addAction(QString());
        a->setObjectName(name);
        return a;
    };
    mnuOpen = item("mnuOpen");
    mnuExplorer = item("mnuExplorer");
    mnuMain->addSeparator()->setObjectName("mnuX1");
    mnuShowHideMain = item("mnuShowHideMain");
    mnuKeepDef = item("mnuKeepDef");
    mnuMain->addSeparator()->setObjectName("mnuX2");
    mnuKeepWH = item("mnuKeepWH");
    mnuKeepWH->setCheckable(true);
    mnuTopMost = item("mnuTopMost");
    mnuTopMost->setCheckable(true);
    mnuMain->addSeparator()->setObjectName("mnuX3");
    mnuEnd = item("mnuEnd");
    connect(mnuOpen, &QAction::triggered, this, &frmPlayer::mnuOpenClick);
    connect(mnuExplorer, &QAction::triggered, this, [this] {
        if (mplayer_) ctx_.shell->showInFileManager(mplayer_->FileName());
    });
    connect(mnuShowHideMain, &QAction::triggered, this, &frmPlayer::mnuShowHideMainClick);
    connect(mnuKeepDef, &QAction::triggered, this, [this] { myPutSize(true); });
    connect(mnuKeepWH, &QAction::triggered, this, [this] { myPutSize(false); });
    connect(mnuTopMost, &QAction::triggered, this, &frmPlayer::mnuTopMostClick);
    connect(mnuEnd, &QAction::triggered, this, &QWidget::close);
}

void frmPlayer::buildTimers()
{
    tmrCheck = new QTimer(this);
    tmrCheck->setObjectName("tmrCheck");
    connect(tmrCheck, &QTimer::timeout, this, &frmPlayer::tmrCheckTick);
    tmrDrag = new QTimer(this);
    tmrDrag->setObjectName("tmrDrag");
    tmrDrag->setInterval(kDeferMs);
    connect(tmrDrag, &QTimer::timeout, this, [this] {
        tmrDrag->stop();
        const QString file = dragTag_;
        dragTag_.clear();
        playSingle(file.toStdString());
    });
    tmrCheckResize = new QTimer(this);
    tmrCheckResize->setObjectName("tmrCheckResize");
    tmrCheckResize->setInterval(kDeferMs);
    connect(tmrCheckResize, &QTimer::timeout, this, [this] {
        tmrCheckResize->stop();
        myPutSize(false);
    });
}

void frmPlayer::load()
{
    loaded_ = true;
    if (mainWindow_) setWindowIcon(mainWindow_->windowIcon());
    setWindowTitle(" Plimbo");
    tmrCheck->setInterval(kPollMs);
    tmrCheck->stop();
    lblFnName->clear();
    fileName_.clear();
    if (!mplayer_) mplayer_ = std::make_unique<MPlayer>(ctx_.console, ctx_.runner, ctx_.paths, ctx_.lang, *this);
    // The options window's preview runs in the console: it is not ours to stop.
    if (!previewInPlayer_) mplayer_->closeMCI();
    mplayer_->setFileName({});
    settingsPath_ = ctx_.paths.settingsFolder() + "Plimbo.ini";
    volumeTag_ = -1;
    loadingSettings_ = true;
    readSettings();
    loadingSettings_ = false;
    initVolume(true);
    playState_ = kStopped;
    openReason_ = 0;
    enableMenus();
    ifStopped(true);
    ChangeLanguage();
}

void frmPlayer::readSettings()
{
    const PlayerSettings s = loadPlayerSettings(settingsPath_);
    mnuKeepWH->setChecked(s.keepWH);
    mnuTopMost->setChecked(s.topMost);
    if (QWindow* w = windowHandle())
        w->setFlag(Qt::WindowStaysOnTopHint, s.topMost);
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, s.topMost);
    volumeTag_ = s.volume;
    myPutSize(true);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (s.left && s.top)
        move(*s.left, *s.top);
    else
        move(screen.center() - QPoint(width() / 2, height() / 2));
}

void frmPlayer::writeSettings()
{
    PlayerSettings s;
    s.left = x();
    s.top = y();
    s.keepWH = mnuKeepWH->isChecked();
    s.topMost = mnuTopMost->isChecked();
    s.volume = volumeTag_ < 0 ? VolumeSlider::kScale : volumeTag_;
    savePlayerSettings(settingsPath_, s);
}

void frmPlayer::unload()
{
    if (previewInPlayer_) {
        // The preview goes back into the options window, which restarts it there.
        previewInPlayer_ = false;
        const auto closed = previewClosed;
        previewClick = previewClosed = nullptr;
        if (closed) closed();
    } else {
        mbStop_Click();
        if (mplayer_) mplayer_->closeMCI();
    }
    writeSettings();
    loaded_ = false;
    if (mainWindow_ && mnuShowHideMain->property("Tag").toString() == "hide") {
        mnuShowHideMain->setProperty("Tag", QString());
        mainWindow_->show();
    }
}

void frmPlayer::closeEvent(QCloseEvent* e)
{
    if (loaded_) unload();
    e->accept();
}

void frmPlayer::ChangeLanguage()
{
    const bool hidden = mnuShowHideMain->property("Tag").toString() == "hide";
    mnuOpen->setText(text(Msg::OpenNewFile));
    mnuExplorer->setText(text(Msg::OpenInFileManager));
    mnuShowHideMain->setText(text(hidden ? Msg::ShowMainWindow : Msg::HideMainWindow));
    mnuKeepDef->setText(text(Msg::OriginalVideoSize));
    mnuKeepWH->setText(text(Msg::KeepAspectRatio));
    mnuTopMost->setText(text(Msg::AlwaysOnTop));
    mnuEnd->setText(text(Msg::ExitMenu));
    mbPlay->SetToolTip(text(Msg::PlaySpace));
    mbPause->SetToolTip(text(Msg::PauseSpace));
    mbStop->SetToolTip(text(Msg::StopPlaying));
    mbBackward->SetToolTip(text(Msg::BackTenSeconds));
    mbForward->SetToolTip(text(Msg::ForwardTenSeconds));
    lblFnName->clear();
}

void frmPlayer::enableMenus()
{
    int w = 0, h = 0;
    if (mplayer_) mplayer_->getDefaultSize(w, h);
    const bool picture = w * h > 0;
    mnuKeepDef->setEnabled(picture);
    mnuKeepWH->setEnabled(picture);
    mnuExplorer->setEnabled(mplayer_ && !mplayer_->FileName().empty() && QFile::exists(QString::fromStdString(mplayer_->FileName())));
}

VideoSurface* frmPlayer::showPreview(int sourceWidth, int sourceHeight)
{
    previewInPlayer_ = true;
    previewSource_ = QSize(sourceWidth, sourceHeight);
    if (!loaded_) load();
    ifStopped(true);
    picHsbBack->setEnabled(false);
    picPlayer->show();
    myPutSize(true);
    show();
    raise();
    picPlayer->windowHandle(); // the window exists before the player is given it
    return picPlayer;
}

void frmPlayer::endPreview()
{
    if (!previewInPlayer_) return;
    previewInPlayer_ = false;
    previewClick = previewClosed = nullptr;
    writeSettings();
    loaded_ = false;
    hide();
}

} // namespace qorvid
