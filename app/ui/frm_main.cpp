#include "app/ui/frm_main.h"
#include "app/ui/frm_player.h"

#include "app/app_info.h"
#include "app/cpu_usage.h"
#include "app/settings.h"
#include "app/system_language.h"
#include "app/ui/busy_picture.h"
#include "app/ui/frm_about.h"
#include "app/ui/frm_options.h"
#include "app/ui/frm_output.h"
#include "app/ui/progress_picture.h"
#include "controls/style_button.h"
#include "engine/job_driver.h"
#include "util/file_object.h"
#include "util/text.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace qorvid {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 420;
constexpr int kDevRow = 34;

QLabel* newLabel(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

StyleButton* newButton(QWidget* parent, const char* name)
{
    auto* b = new StyleButton(parent);
    b->setObjectName(name);
    b->setButtonType(2);
    b->setSkipOverAndEnter(false);
    b->setBackColor(QColor(226, 232, 240));
    b->setBackColorOver(QColor(236, 242, 250));
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

} // namespace

frmMain::frmMain(const AppPaths& paths, bool developerMode) : developerMode_(developerMode)
{
    setObjectName("frmMain");
    setWindowTitle(QString::fromUtf8(kProductName.data(), static_cast<qsizetype>(kProductName.size())));
    setWindowIcon(QIcon(programIcon(64)));
    output = new frmOutput(this);
    ctx_ = std::make_unique<MainContext>(paths, *this, *this, output);
    ctx_->boxes.owner = this;
    ctx_->dialog.owner = this;
    driver_ = std::make_unique<JobDriver>(JobContext{ctx_->lang, ctx_->job, ctx_->labels, ctx_->paths, ctx_->runner,
                                                     ctx_->display, ctx_->boxes, ctx_->boxes, *this, ctx_->clock});
    output->onClosed = [this] { ctx_->runner.showDosWindow = false; };
    output->onOk = [this](const std::string& text) { chkCheckCmd->setProperty("Tag", QString::fromStdString(text)); };
    buildControls();
    buildMenus();
    layoutControls();
    options_ = std::make_unique<frmOptions>(*ctx_);
    ctx_->playerWindow = [this]() -> frmPlayer& { return playerWindow(); };
    // After OK the summary shows what the window set.
    connect(options_.get(), &frmOptions::closed, this, [this](bool accepted) {
        if (accepted) lblEncodeNote->setText(QString::fromStdString(toUnixLines(ctx_->summary)));
        activateWindow();
    });
}

frmMain::~frmMain()
{
    if (meter_) meter_->terminate();
    // The player goes first: it stops its tool and writes its settings.
    player_.reset();
}

frmPlayer& frmMain::playerWindow()
{
    if (!player_) {
        player_ = std::make_unique<frmPlayer>(*ctx_, this);
        player_->beforePlay = [this] { options_->stopPreview(); };
        player_->markMainInUse = [this](bool on) { cmdInput->setProperty("Tag", on ? QString("inUse") : QString()); };
    }
    return *player_;
}

void frmMain::closePlayer()
{
    if (player_ && player_->loaded()) player_->mbStop_Click();
}

void frmMain::buildControls()
{
    auto* w = new QWidget(this);
    w->setObjectName("picMain");
    setCentralWidget(w);
    buildButtons(w);
    buildLabels(w);
    buildDeveloperControls(w);
    buildTimers();
}

void frmMain::buildButtons(QWidget* w)
{
    cmdInput = newButton(w, "cmdInput");
    cmdInput->setOLEDropMode(1);
    connect(cmdInput, &StyleButton::Click, this, &frmMain::cmdInputClick);
    connect(cmdInput, &StyleButton::OLEDragDrop, this, &frmMain::dropOnSource);
    cmdOutput = newButton(w, "cmdOutput");
    connect(cmdOutput, &StyleButton::Click, this, &frmMain::cmdOutputClick);
    cmdOpt = newButton(w, "cmdOpt");
    connect(cmdOpt, &StyleButton::Click, this, &frmMain::cmdOptClick);
    for (int i = 0; i < 2; ++i) {
        cmdEncode[i] = newButton(w, "cmdEncode");
        cmdEncode[i]->setProperty("Index", i);
        connect(cmdEncode[i], &StyleButton::Click, this, &frmMain::cmdEncodeClick);
    }
    cmdEncode[0]->setBackColor(QColor(214, 236, 214));
    cmdEncode[0]->setBackColorOver(QColor(226, 246, 226));
    cmdEncode[1]->setBackColor(QColor(246, 214, 206));
    cmdEncode[1]->setBackColorOver(QColor(252, 226, 218));
    cmdEncode[1]->hide();
}

void frmMain::buildLabels(QWidget* w)
{
    lblInput = newLabel(w, "lblInput");
    lblOutput = newLabel(w, "lblOutput");
    for (QLabel* l : {lblInput, lblOutput}) {
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->setFrameShape(QFrame::StyledPanel);
        l->setMargin(4);
    }
    lblVideoSize = newLabel(w, "lblVideoSize");
    lblVideoLen = newLabel(w, "lblVideoLen");
    lblInputCheck = newLabel(w, "lblInputCheck");
    lblInputCheck->setAlignment(Qt::AlignCenter);
    lblInputCheck->setStyleSheet("color: #a04000;");
    lblInputCheck->hide();
    lblEncodeNote = newLabel(w, "lblEncodeNote");
    lblEncodeNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblEncodeNote->setFrameShape(QFrame::StyledPanel);
    lblEncodeNote->setMargin(4);
    QFont small = lblEncodeNote->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblEncodeNote->setFont(small);
    lblEncodeNoteCheck = newLabel(w, "lblEncodeNoteCheck");
    lblEncodeNoteCheck->setAlignment(Qt::AlignCenter);
    lblEncodeNoteCheck->setWordWrap(true);
    lblEncodeNoteCheck->setAutoFillBackground(true);
    lblEncodeNoteCheck->setStyleSheet("background: #fff4d0; color: #804000; border: 1px solid #c08000;");
    lblEncodeNoteCheck->hide();

    picProgress = new ProgressPicture(w);
    picProgress->setObjectName("picProgress");
    picEncodeEsti = new NotePicture(w);
    picEncodeEsti->setObjectName("picEncodeEsti");
    lblEncodeEsti = newLabel(w, "lblEncodeEsti");
    lblEncodeEsti->setAlignment(Qt::AlignCenter);
    imgFun = new BusyPicture(w);
    imgFun->setObjectName("imgFun");
    lblVer = newLabel(w, "lblVer");
    lblVer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblMsgSay = newLabel(w, "lblMsgSay");
    lblMsgSay->setStyleSheet("color: #506070;");
}

// The developer mode's controls, hidden until it is on.
void frmMain::buildDeveloperControls(QWidget* w)
{
    cmdDelSrc = new QPushButton(QString::fromUtf8("刪除來源"), w);
    cmdDelSrc->setObjectName("cmdDelSrc");
    connect(cmdDelSrc, &QPushButton::clicked, this, &frmMain::cmdDelSrcClick);
    chkCheckAsfMci = new QCheckBox("ASF MCI", w);
    chkCheckAsfMci->setObjectName("chkCheckAsfMci");
    chkCheckCmd = new QCheckBox("CMD", w);
    chkCheckCmd->setObjectName("chkCheckCmd");
    for (QCheckBox* c : {chkCheckAsfMci, chkCheckCmd})
        connect(c, &QCheckBox::clicked, picProgress, qOverload<>(&QWidget::update));
    cboCmdEditSpec = new QComboBox(w);
    cboCmdEditSpec->setObjectName("cboCmdEditSpec");
    cboCmdEditSpec->addItems({QString::fromUtf8("不用特製剪輯"), "29.97 , -mc 1", "29.97 , -mc 0", "29.97 , no mc!"});
    cboCmdEditSpec->setCurrentIndex(0);
    for (QWidget* dev : std::initializer_list<QWidget*>{cmdDelSrc, chkCheckAsfMci, chkCheckCmd, cboCmdEditSpec})
        dev->setVisible(false);
}

void frmMain::buildTimers()
{
    tmrCPU.setInterval(1000);
    connect(&tmrCPU, &QTimer::timeout, this, &frmMain::cpuTick);
    tmrFun.setInterval(300);
    connect(&tmrFun, &QTimer::timeout, imgFun, &BusyPicture::advance);
    tmrDrag.setSingleShot(true);
    tmrDrag.setInterval(10);
    connect(&tmrDrag, &QTimer::timeout, this, [this] { playItem(0); });
}

void frmMain::layoutControls()
{
    const int m = 10, bw = 150, gap = 10, lx = m + bw + gap, lw = kWidth - lx - m;
    cmdInput->setGeometry(m, m, bw, 56);
    lblInput->setGeometry(lx, m, lw, 56);
    cmdOutput->setGeometry(m, 74, bw, 56);
    lblOutput->setGeometry(lx, 74, lw, 56);
    lblVideoSize->setGeometry(m, 138, kWidth - 2 * m, 20);
    lblVideoLen->setGeometry(m, 158, kWidth - 2 * m, 20);
    lblInputCheck->setGeometry(m, 138, kWidth - 2 * m, 40);
    cmdOpt->setGeometry(m, 186, bw, 44);
    cmdEncode[0]->setGeometry(m, 238, bw, 56);
    cmdEncode[1]->setGeometry(m, 238, bw, 56);
    lblEncodeNoteCheck->setGeometry(m, 186, bw, 44);
    lblEncodeNote->setGeometry(lx, 186, lw, 150);
    imgFun->setGeometry(m + (bw - 36) / 2, 300, 36, 36);
    picProgress->setGeometry(m, 344, kWidth - 2 * m, 24);
    picEncodeEsti->setGeometry(m, 372, 380, 20);
    lblEncodeEsti->setGeometry(m + 390, 372, kWidth - 2 * m - 390, 20);
    lblMsgSay->setGeometry(m, 396, 400, 18);
    lblVer->setGeometry(kWidth - m - 120, 396, 120, 18);
    const int dy = kHeight + 2;
    cmdDelSrc->setGeometry(m, dy, 100, 26);
    chkCheckAsfMci->setGeometry(m + 110, dy, 100, 26);
    chkCheckCmd->setGeometry(m + 215, dy, 80, 26);
    cboCmdEditSpec->setGeometry(m + 300, dy, 200, 26);
    const int h = kHeight + (developerMode_ ? kDevRow : 0);
    centralWidget()->setFixedSize(kWidth, h);
    setFixedSize(kWidth, h + menuBar()->sizeHint().height());
}

bool frmMain::load()
{
    // Developer mode: the marker file beside the program.
    for (QWidget* dev : std::initializer_list<QWidget*>{cmdDelSrc, chkCheckAsfMci, chkCheckCmd, cboCmdEditSpec})
        dev->setVisible(developerMode_);
    layoutControls();
    setTargetDefDir(homeFolder());
    selectTargetMode(0);
    lblVer->setText(QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())));
    picProgress->draw(0, {}, true);

    Geometry g;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        g.screenWidth = static_cast<float>(s->availableGeometry().width());
        g.screenHeight = static_cast<float>(s->availableGeometry().height());
    }
    g.windowWidth = static_cast<float>(width());
    g.windowHeight = static_cast<float>(height());
    const std::string file = ctx_->paths.settingsFile();
    LoadedSettings loaded = loadSettings(file, g);
    move(static_cast<int>(loaded.values.mainLeft), static_cast<int>(loaded.values.mainTop));
    applyLanguage(loaded.values.language);
    setTargetDefDir(loaded.values.targetDefDir.empty() ? homeFolder() : loaded.values.targetDefDir);
    selectTargetMode(loaded.values.targetDefDirMode == 1 ? 1 : 0);
    if (!fileObject().FileExists(file)) saveSettingsNow();

    meter_ = makeCpuMeter();
    ctx_->display.resetCpuNote();
    tmrCPU.start();
    tmrFun.start();
    return loaded.fileFound;
}

void frmMain::saveSettingsNow()
{
    Settings s;
    s.mainLeft = static_cast<float>(x());
    s.mainTop = static_cast<float>(y());
    s.language = language();
    const TargetFolderSetting t = targetFolderSetting();
    s.targetDefDirMode = t.mode;
    s.targetDefDir = targetDefDir();
    saveSettings(ctx_->paths.settingsFile(), s);
}

bool frmMain::busy() const
{
    return lblEncodeNoteCheck->isVisibleTo(lblEncodeNoteCheck->parentWidget()) ||
           !cmdInput->property("Tag").toString().isEmpty() || !cmdOutput->property("Tag").toString().isEmpty() ||
           jobRunning();
}

bool frmMain::jobRunning() const { return !cmdEncode[1]->isHidden() || driver_->running(); }

QString frmMain::text(Msg message) const { return QString::fromStdString(toUnixLines(ctx_->lang[message])); }

void frmMain::setLabelPath(QLabel* label, const std::string& path, Msg emptyMessage)
{
    label->setToolTip(QString::fromStdString(path));
    if (path.empty()) {
        label->setText(text(emptyMessage));
        return;
    }
    // A break opportunity after each separator lets long paths wrap at their folders.
    QString shown = QString::fromStdString(path);
    shown.replace("/", QString("/") + QChar(0x200B));
    label->setText(shown);
}

void frmMain::refreshLabels()
{
    setLabelPath(lblInput, ctx_->labels.input, Msg::NoSourceYet);
    setLabelPath(lblOutput, ctx_->labels.output, Msg::NoTargetYet);
}

void frmMain::refreshVideoInfo() { setVideoInfoNote(ctx_->job, lengthTooltip_); }

void frmMain::closeEvent(QCloseEvent* e)
{
    if (!closeConfirmed_) {
        closePlayer();
        if (jobRunning()) {
            // The job goes on while the person decides.
            askToLeaveDuringJob();
            e->ignore();
            return;
        }
        if (ctx_->boxes.ask(ctx_->lang[Msg::ConfirmQuit], Buttons::YesNo) != Answer::Yes) {
            e->ignore();
            return;
        }
        closeConfirmed_ = true;
        saveSettingsNow();
    }
    if (driver_->running()) {
        // The run ends first; the window closes when the job has cleaned up.
        closeAfterJob_ = true;
        driver_->stop();
        e->ignore();
        return;
    }
    tmrCPU.stop();
    tmrFun.stop();
    output->onClosed = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != this && top->isVisible()) top->close();
    e->accept();
}

void frmMain::askToLeaveDuringJob()
{
    if (leaveQuestionOpen_) return;
    leaveQuestionOpen_ = true;
    const LangText& L = ctx_->lang;
    const std::string percent = numberText(std::floor(picProgress->percent()));
    const std::string text =
        ctx_->job.jobTitle + "  ..... " + fillPlaceholders(L[Msg::ProgressPercent], {percent}) + "\r\n\r\n" + L[Msg::ConfirmQuit];
    QPointer<frmMain> self(this);
    ctx_->boxes.askLater(text, Buttons::YesNo, [self](Answer a) {
        if (self) self->leaveAnswered(a);
    });
}

void frmMain::leaveAnswered(Answer answer)
{
    leaveQuestionOpen_ = false;
    if (answer != Answer::Yes) return;
    closeConfirmed_ = true;
    saveSettingsNow();
    // A job that ended while the question was open has kept and reported its target.
    if (driver_->running()) {
        closeAfterJob_ = true;
        driver_->stop();
        return;
    }
    close();
}

void frmMain::mousePressEvent(QMouseEvent* e)
{
    if (developerMode_ && e->button() == Qt::RightButton) {
        askDosWindow();
        return;
    }
    QMainWindow::mousePressEvent(e);
}

void frmMain::askDosWindow()
{
    ctx_->runner.showDosWindow = ctx_->boxes.ask(std::string(ctx_->lang.inLanguage("是否開啟 Dos 輸出視窗？", "是否开启 Dos 输出窗口？",
                                                                                   "Show the tools' console output?")),
                                                   Buttons::YesNo) == Answer::Yes;
}

void frmMain::showAbout()
{
    closePlayer();
    frmAbout about(ctx_->lang, this);
    about.exec();
}

void frmMain::showMoney()
{
    closePlayer();
    frmMoney money(ctx_->lang, this);
    money.exec();
}

void frmMain::openHelp()
{
    const std::string help = ctx_->paths.appFolder + "help" + kSep + "help_" + language() + ".html";
    if (!fileObject().FileExists(help)) {
        ctx_->boxes.showMessage(ctx_->lang[Msg::HelpFileMissing]);
        return;
    }
    // The table has no text for a help file that no program opens.
    const std::string failed(ctx_->lang.inLanguage("Qorvid\n找不到可以開啟說明檔的程式！", "Qorvid\n找不到可以开启说明档的程序！",
                                                   "Qorvid\nfound no program to open its help file!"));
    openWithDesktop(help, failed + "\r\n\r\n" + help);
}

void frmMain::openWithDesktop(const std::string& path, const std::string& failureText)
{
    // The desktop's answer comes later; the window may be gone by then.
    QPointer<frmMain> self(this);
    auto report = [self, failureText] {
        if (self) self->ctx_->boxes.showMessage(failureText);
    };
    if (!ctx_->shell->openDocument(path, report)) report();
}

} // namespace qorvid
