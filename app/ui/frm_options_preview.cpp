// The live preview of the options window: the player draws into picPlayer, the buttons send
// it slave commands, its output is read when it arrives, and the marks, still pictures and
// the crop rectangle are taken from it.
#include "app/ui/frm_options.h"

#include "app/ui/frm_player.h"

#include "app/paths.h"
#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "app/ui/preview_slider.h"
#include "app/ui/video_surface.h"
#include "controls/style_button.h"
#include "controls/zevra_tab.h"
#include "engine/format_time.h"
#include "media/format_catalog.h"
#include "options/option_args.h"
#include "player/preview_player.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace qorvid {

using namespace options_ui;

namespace {

// The picture box; the picture keeps the source's aspect inside it.
constexpr QSize kPreviewBox(384, 288);
// The player's colour key (red 3, green 2, blue 1).
const QColor kColorKey(3, 2, 1);

StyleButton* previewButton(QWidget* parent, const char* name, const QString& caption, int index = -1)
{
    auto* b = flatButton(parent, name, index);
    b->setMinimumSize(34, 26);
    b->setCaption(caption);
    return b;
}

std::string timeText(float seconds) { return FormatTime(seconds, 3, 1); }

} // namespace

QWidget* frmOptions::buildPreviewPanel()
{
    auto* panel = named<QWidget>(this, "fraPreview");
    auto* col = new QVBoxLayout(panel);
    col->setContentsMargins(0, 0, 0, 0);
    picPlayerBox = named<QWidget>(panel, "picPlayerBox");
    picPlayerBox->setFixedSize(kPreviewBox);
    picPlayerBox->setAutoFillBackground(true);
    QPalette p = picPlayerBox->palette();
    p.setColor(QPalette::Window, kColorKey);
    picPlayerBox->setPalette(p);
    picPlayer = new VideoSurface(picPlayerBox, true);
    picPlayer->setObjectName("picPlayer");
    picPlayer->hide();
    connect(picPlayer, &VideoSurface::cropDrawn, this, &frmOptions::cropDrawn);
    col->addWidget(picPlayerBox, 0, Qt::AlignHCenter);

    imgSliderBG = new PreviewSlider(panel);
    connect(imgSliderBG, &PreviewSlider::released, this, [this](float seconds) {
        if (preview_->seekTo(seconds)) lblCurTime->setText(qs(timeText(seconds)));
    });
    col->addWidget(imgSliderBG);
    auto* times = new QHBoxLayout;
    lblCurTime = named<QLabel>(panel, "lblCurTime");
    lblTotalTime = named<QLabel>(panel, "lblTotalTime");
    times->addWidget(lblCurTime);
    times->addStretch(1);
    times->addWidget(lblTotalTime);
    col->addLayout(times);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(3);
    lblPlay = previewButton(panel, "lblPlay", QString::fromUtf8("▶"));
    lblPause = previewButton(panel, "lblPause", QString::fromUtf8("❚❚"));
    lblStop = previewButton(panel, "lblStop", QString::fromUtf8("■"));
    lblBackward = previewButton(panel, "lblBackward", QString::fromUtf8("◀◀"));
    lblForward = previewButton(panel, "lblForward", QString::fromUtf8("▶▶"));
    lblVol[0] = previewButton(panel, "lblVol", QString::fromUtf8("−"), 0);
    lblVolPlay = named<QLabel>(panel, "lblVolPlay");
    lblVolPlay->setAlignment(Qt::AlignCenter);
    lblVolPlay->setMinimumWidth(lblVolPlay->fontMetrics().horizontalAdvance("100") + 8);
    lblVol[1] = previewButton(panel, "lblVol", "+", 1);
    lblSrceenshot = previewButton(panel, "lblSrceenshot", QString::fromUtf8("◉"));
    lblCut2Pic = previewButton(panel, "lblCut2Pic", QString::fromUtf8("◉◉"));
    lbl2BigScreen = previewButton(panel, "lbl2BigScreen", QString::fromUtf8("⤢"));
    for (QWidget* w : std::initializer_list<QWidget*>{lblPlay, lblPause, lblStop, lblBackward, lblForward, lblVol[0],
                                                      lblVolPlay, lblVol[1], lblSrceenshot, lblCut2Pic, lbl2BigScreen})
        buttons->addWidget(w);
    buttons->addStretch(1);
    col->addLayout(buttons);
    lblPlayerNote = named<QLabel>(panel, "lblPlayerNote");
    lblPlayerNote->hide();
    col->addWidget(lblPlayerNote);
    col->addStretch(1);

    connect(lblPlay, &StyleButton::Click, this, &frmOptions::playClick);
    connect(lblPause, &StyleButton::Click, this, &frmOptions::pauseClick);
    connect(lblStop, &StyleButton::Click, this, &frmOptions::stopPreview);
    connect(lblBackward, &StyleButton::Click, this, [this] { preview_->jump(-10); });
    connect(lblForward, &StyleButton::Click, this, [this] { preview_->jump(10); });
    for (int i = 0; i < 2; ++i)
        connect(lblVol[static_cast<size_t>(i)], &StyleButton::Click, this, [this, i] {
            preview_->volumeStep(i == 0 ? -1 : 1);
            refreshVolumeLabel();
        });
    connect(lblSrceenshot, &StyleButton::Click, this, &frmOptions::screenshotClick);
    connect(lblCut2Pic, &StyleButton::Click, this, &frmOptions::continuousClick);
    connect(lbl2BigScreen, &StyleButton::Click, this, &frmOptions::bigScreenClick);

    preview_ = std::make_unique<PreviewPlayer>(ctx_.console, [this](float from) { return previewCommandFor(from); });
    preview_->onStopped([this] { previewStopped(); });
    tmrSpecCheck = new QTimer(this);
    tmrSpecCheck->setObjectName("tmrSpecCheck");
    tmrSpecCheck->setSingleShot(true);
    tmrSpecCheck->setInterval(500);
    connect(tmrSpecCheck, &QTimer::timeout, this, [this] { ctx_.console.setToolWindowTitle("Qorvid - Player"); });
    return panel;
}

void frmOptions::captionsPreview()
{
    const LangText& L = ctx_.lang;
    auto tip = [&](QWidget* w, Msg m) { w->setToolTip(msgText(L, m)); };
    tip(lbl2BigScreen, Msg::SwitchPlaybackWindow);
    tip(lblBackward, Msg::BackTenSecondsTip);
    tip(lblForward, Msg::ForwardTenSecondsTip);
    tip(lblPause, Msg::PauseStepTip);
    tip(lblPlay, Msg::PlaySpace);
    tip(lblStop, Msg::StopPlaying);
    tip(lblVol[0], Msg::ClickPlaybackVolume);
    tip(lblVol[1], Msg::ClickPlaybackVolume);
    tip(lblVolPlay, Msg::AdjustPlaybackVolume);
    tip(lblSrceenshot, Msg::SingleScreenshotTip);
    tip(lblCut2Pic, Msg::ContinuousScreenshotTip);
    lblTotalTime->setText(qs(timeText(ctx_.job.srcLength)));
    if (lblCurTime->text().isEmpty()) lblCurTime->setText(qs(timeText(0)));
    refreshVolumeLabel();
}

PreviewCommand frmOptions::previewCommandFor(float startSeconds)
{
    const ConversionOptions o = currentOptions();
    PreviewRequest r;
    r.toolPath = ctx_.paths.toolPath(1);
    r.source = ctx_.labels.input;
    VideoSurface* target = bigScreen_ ? bigScreen_ : picPlayer;
    target->show();
    r.windowId = target->windowHandle();
    r.volume = preview_->volume();
    if (o.optSub == 1) r.subtitleArgs = buildSubtitleArgs(o, ctx_.job, true);
    r.pictureArgs = colorArgs(o) + rotateArgs(o.cboRotate);
    r.startSeconds = startSeconds;
    return previewCommand(r, ctx_.job);
}

bool frmOptions::previewRunning() const { return preview_ && preview_->running(); }

bool frmOptions::previewPaused() const { return preview_ && preview_->state() == PreviewPlayer::State::Pause; }

float frmOptions::previewPosition() const { return preview_ ? preview_->position() : 0; }

void frmOptions::previewStarted(bool started)
{
    if (!started) {
        previewStopped();
        return;
    }
    delete previewReader_;
    previewReader_ = nullptr;
    const int fd = ctx_.console.outputHandle();
    if (fd >= 0) {
        // The player's output is read when it arrives.
        previewReader_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(previewReader_, &QSocketNotifier::activated, this, &frmOptions::readPreview);
    }
    tmrSpecCheck->start();
}

void frmOptions::playClick()
{
    const bool wasStopped = !preview_->running();
    const bool ok = preview_->play(imgSliderBG->position());
    if (wasStopped) previewStarted(ok);
}

void frmOptions::pauseClick()
{
    const bool wasStopped = !preview_->running();
    const bool ok = preview_->pauseButton(imgSliderBG->position());
    if (wasStopped) previewStarted(ok);
}

void frmOptions::stopPreview()
{
    if (preview_) preview_->stop();
    previewStopped();
}

void frmOptions::previewStopped()
{
    if (previewReader_) {
        previewReader_->setEnabled(false);
        previewReader_->deleteLater();
        previewReader_ = nullptr;
    }
    if (tmrSpecCheck) tmrSpecCheck->stop();
    if (lblPlayerNote) lblPlayerNote->hide();
}

void frmOptions::readPreview()
{
    if (!preview_->running()) return previewStopped();
    showPreviewNews(preview_->readOutput());
}

void frmOptions::showPreviewNews(const PreviewNews& news)
{
    const LangText& L = ctx_.lang;
    if (news.position) {
        imgSliderBG->setPosition(*news.position);
        const QString t = qs(timeText(*news.position));
        if (t != shownTime_) lblCurTime->setText(shownTime_ = t);
    }
    if (news.indexPercent) {
        lblPlayerNote->setText(qs(L[Msg::RebuildingIndex] + std::to_string(*news.indexPercent) + " %"));
        lblPlayerNote->show();
    } else if (news.position) {
        lblPlayerNote->hide();
    }
    if (!news.picture.empty())
        lblNote->setText(qs(L[news.continuousPicture ? Msg::ContinuousScreenshotNote : Msg::SingleScreenshotNote] +
                            news.picture));
    if (news.videoFailed) {
        QTimer::singleShot(100, this, [this] { ctx_.boxes.showMessage(ctx_.lang[Msg::CannotPlay]); });
    }
}

void frmOptions::markClick(int index)
{
    // Marks come from the shown position of a running preview, and only where the target takes them.
    if (!preview_->running() || ctx_.job.targetKind == TargetKind::OnlyFix)
        return;
    const float at = std::round(preview_->position() * 10.0f) / 10.0f;
    marks_[static_cast<size_t>(index)] = at;
    lblMark[static_cast<size_t>(index)]->setProperty("Tag", QString::number(at));
    txtScope[static_cast<size_t>(index)]->setText(qs(timeText(at)));
    refreshScopeNote();
}

void frmOptions::screenshotClick()
{
    if (!preview_->singlePicture()) ctx_.boxes.showMessage(ctx_.lang[Msg::PlayFileFirst]);
}

void frmOptions::continuousClick()
{
    if (!preview_->running()) {
        ctx_.boxes.showMessage(ctx_.lang[Msg::PlayFileFirst]);
        return;
    }
    const bool on = !preview_->continuousPictures();
    if (!on) lblCut2Pic->setProperty("Tag", "In Near Stop Screenshot");
    preview_->setContinuousPictures(on);
    lblCut2Pic->setBackColor(on ? QColor(250, 200, 160) : QColor(232, 236, 244));
}

void frmOptions::refreshVolumeLabel()
{
    const auto v = preview_->volume();
    lblVolPlay->setProperty("Tag", v ? *v : -1);
    lblVolPlay->setText(v ? QString::number(*v) : QString::fromUtf8("♪"));
}

void frmOptions::previewPictureChanged()
{
    // Colour, rotation and subtitles are filters of the player: it starts again where it was.
    if (preview_ && preview_->running() && preview_->restart()) previewStarted(true);
}

void frmOptions::fitPicture()
{
    const JobState& job = ctx_.job;
    QSize picture = kPreviewBox;
    if (job.srcWidth > 0 && job.srcHeight > 0)
        picture = QSize(job.srcWidth, job.srcHeight).scaled(kPreviewBox, Qt::KeepAspectRatio);
    picPlayer->setGeometry(QRect(QPoint((kPreviewBox.width() - picture.width()) / 2,
                                        (kPreviewBox.height() - picture.height()) / 2),
                                 picture));
    imgSliderBG->setLength(job.srcLength);
    imgSliderBG->setMarks(marks_[0], marks_[1]);
    ctx_.job.previewStep = imgSliderBG->factor();
    lblCurTime->setText(shownTime_ = qs(timeText(0)));
    lblTotalTime->setText(qs(timeText(job.srcLength)));
}

void frmOptions::cropDrawn(const QRect& r)
{
    base_.hasCrop = !r.isEmpty();
    base_.crop = base_.hasCrop ? std::array<int, 4>{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}
                               : std::array<int, 4>{};
    base_.previewWidth = picPlayer->width();
    base_.previewHeight = picPlayer->height();
}

// The big screen is the player window showing this preview at the source's size.
void frmOptions::bigScreenClick()
{
    if (bigScreen_) return closeBigScreen();
    if (!ctx_.playerWindow) return;
    frmPlayer& player = ctx_.playerWindow();
    const int w = ctx_.job.srcWidth > 0 ? ctx_.job.srcWidth : 640, h = ctx_.job.srcHeight > 0 ? ctx_.job.srcHeight : 480;
    // At least twice the embedded picture.
    QSize want(w, h);
    if (want.width() < 2 * picPlayer->width()) want.scale(picPlayer->size() * 2, Qt::KeepAspectRatio);
    player.previewClick = [this] { pauseClick(); };
    player.previewClosed = [this] { closeBigScreen(); };
    bigScreen_ = player.showPreview(want.width(), want.height());
    previewPictureChanged();
}

void frmOptions::closeBigScreen()
{
    if (!bigScreen_) return;
    bigScreen_ = nullptr;
    previewPictureChanged(); // back into picPlayer
    if (ctx_.playerWindow) ctx_.playerWindow().endPreview();
}

void frmOptions::registerHints()
{
    const std::pair<QWidget*, Msg> fixed[] = {
        {txtAudioDelay, Msg::AudioDelayTip},  {chkAudioVolnorm, Msg::NormaliseTip},
        {txtSubDelay, Msg::SubtitleDelayTip}, {txtSubSize, Msg::SubtitleFontSizeTip},
        {txtSubPosHgt, Msg::SubtitlePositionTip}, {txtSubOutline, Msg::SubtitleOutlineTip},
        {txtSubBlur, Msg::SubtitleBlurTip},   {optSub[0], Msg::SubtitleNeedsFile},
        {optSub[1], Msg::SubtitleNeedsFile},  {txtSubFile, Msg::SubtitleNeedsFile},
        {mbSubFIle, Msg::SubtitleBrowseTip},  {cmdSubPlay, Msg::SubtitleApplyTip},
        {optAudio[1], Msg::NoSoundTip},       {txtSize[0], Msg::SizeEvenTip},
        {txtSize[1], Msg::SizeEvenTip},       {lbl2BigScreen, Msg::SwitchPlaybackWindow},
        {lblBackward, Msg::BackTenSecondsTip}, {lblForward, Msg::ForwardTenSecondsTip},
        {lblPause, Msg::PauseStepTip},        {lblMarkDel, Msg::ClearMarks},
        {lblPlay, Msg::PlaySpace},            {lblStop, Msg::StopPlaying},
        {lblVol[0], Msg::ClickPlaybackVolume}, {lblVol[1], Msg::ClickPlaybackVolume},
        {lblVolPlay, Msg::AdjustPlaybackVolume}, {lblSrceenshot, Msg::SingleScreenshotTip},
        {lblCut2Pic, Msg::ContinuousScreenshotTip}, {txtScope[0], Msg::MarkButtonsTip},
        {txtScope[1], Msg::MarkButtonsTip},   {lblMark[0], Msg::MarkStartTip},
        {lblMark[1], Msg::MarkEndTip}};
    for (const auto& [w, m] : fixed) {
        hints_.insert(w, m);
        w->installEventFilter(this);
    }
    for (QLineEdit* t : txtExpand) {
        hints_.insert(t, Msg::BorderEvenTip);
        t->installEventFilter(this);
    }
}

void frmOptions::showHint(QObject* control)
{
    auto it = hints_.constFind(control);
    if (it == hints_.constEnd()) return;
    Msg m = *it;
    const TargetKind kind = ctx_.job.targetKind;
    if (control == txtScope[0] || control == txtScope[1]) {
        if (kind == TargetKind::OnlyFix) m = Msg::WholeVideoRepaired;
    }
    if ((control == lblMark[0] || control == lblMark[1]) && !preview_->running()) m = Msg::PlayBeforeMarking;
    lblNote->setText(msgText(ctx_.lang, m));
}

} // namespace qorvid
