// The player window's playing: opening a file, the transport buttons, the jumps, the status
// poll with the seek bar, and the volume.
#include "app/ui/frm_player.h"

#include "app/ui/main_context.h"
#include "app/ui/player_bars.h"
#include "app/ui/video_surface.h"
#include "controls/zevra_button.h"
#include "engine/format_time.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace qorvid {

namespace {

constexpr int kThumbPolls = 3; // polls the thumb stays where it was let go

QString percentText(double f) { return QString::number(std::nearbyint(f * 100), 'f', 0) + " %"; }

} // namespace

void frmPlayer::playSingle(const std::string& file)
{
    std::string path = file;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    if (!loaded_) load();
    mbStop_Click();
    openReason_ = 3;
    newPlay(path);
    show();
    raise();
    activateWindow();
}

void frmPlayer::newPlay(const std::string& file)
{
    totalFrames_ = 0;
    pixelsPerFrame_ = 0;
    lastFrame_ = -1;
    picHsbBack->setThumbCentre(0);
    picHsbBack->setEnabled(false);
    mplayer_->closeMCI();
    // The player starts while the file is probed: the first picture comes a probe sooner.
    if (beforePlay) beforePlay();
    mplayer_->startEarly(file, picPlayer->windowHandle());
    busy_ = true;
    showPlayerNote(ctx_.lang[Msg::Playing]);

    const QFileInfo info(QString::fromStdString(file));
    picAssIcon->setPixmap(QFileIconProvider().icon(info).pixmap(16, 16));
    fileName_ = info.fileName().toStdString();
    setWindowTitle(info.fileName() + " ");
    lblFnName->setText(text(Msg::PlayingPosition) + " 0 %");

    mplayer_->openMCI(file, picPlayer->windowHandle());
    // Nothing draws a sound file's picture: the colour of the container shows instead of the
    // last file's picture.
    int w = 0, h = 0;
    mplayer_->getDefaultSize(w, h);
    picPlayer->setVisible(w * h > 0);
    myPutSize(true);
    if (!mplayer_->isSuccess()) {
        mplayer_->stopMCI();
        failPlay();
    } else {
        playState_ = kPlaying;
        mplayer_->playMCI(0, 0);
        totalFrames_ = mplayer_->getTotalFrames();
        measureSeekBar();
        setTransport(ZevraButton::kDown, ZevraButton::kUp, ZevraButton::kUp, ZevraButton::kUp, ZevraButton::kUp);
        picHsbBack->setEnabled(true);
        initVolume(false);
        setTimeLabel(lblTtTime, mplayer_->getTotalSeconds());
        tmrCheck->start();
        if (!(mplayer_->getTotalSeconds() > 0)) {
            shareBnStop();
            mbPlay->setState(ZevraButton::kDisabled);
        }
        enableMenus();
    }
    busy_ = false;
}

void frmPlayer::failPlay()
{
    openReason_ = 0;
    mbStop_Click();
    lblFnName->setText(text(Msg::CannotPlayShort));
}

void frmPlayer::ifStopped(bool disableAll)
{
    tmrCheck->stop();
    picHsbBack->setThumbCentre(0);
    lblFnName->setText(text(fileName_.empty() ? Msg::OpenNewFilePlease : Msg::StopPlayingMenu));
    hidePlayerNote();
    if (pixelsPerFrame_ != 1) setTimeLabel(lblCurTime, 0);
    const int free = disableAll ? ZevraButton::kDisabled : ZevraButton::kUp;
    setTransport(free, ZevraButton::kDisabled, free, ZevraButton::kDisabled, ZevraButton::kDisabled);
    playState_ = kStopped;
}

void frmPlayer::setTransport(int play, int pause, int stop, int backward, int forward)
{
    mbPlay->setState(play);
    mbPause->setState(pause);
    mbStop->setState(stop);
    mbBackward->setState(backward);
    mbForward->setState(forward);
}

// Play or pause latched as the state says; the others free.
void frmPlayer::latchForState()
{
    const bool paused = playState_ == kPaused;
    setTransport(paused ? ZevraButton::kUp : ZevraButton::kDown, paused ? ZevraButton::kDown : ZevraButton::kUp,
                 ZevraButton::kUp, ZevraButton::kUp, ZevraButton::kUp);
}

void frmPlayer::mbPlay_Click()
{
    if (busy_) return;
    mbPlay->setState(ZevraButton::kDown);
    const int before = playState_;
    if (playState_ != kPaused) {
        if (beforePlay) beforePlay();
        mplayer_->playMCI(0, totalFrames_);
        if (!mplayer_->isSuccess()) {
            playSingle(mplayer_->FileName());
            return;
        }
        playState_ = kPlaying;
        lastFrame_ = -1;
        initVolume(false);
        tmrCheck->start();
    } else {
        mplayer_->resumeMCI();
        playState_ = kPlaying;
    }
    if (!mplayer_->isSuccess()) {
        failPlay();
        return;
    }
    if (before == kStopped) openReason_ = 2;
    latchForState();
    tmrCheckTick();
}

void frmPlayer::mbPause_Click()
{
    if (busy_) return;
    shareBnPause();
    latchForState();
    tmrCheckTick();
}

void frmPlayer::shareBnPause()
{
    mplayer_->pauseMCI();
    playState_ = kPaused;
}

void frmPlayer::pausePrFn()
{
    if (playState_ == kPlaying) mbPause_Click();
}

void frmPlayer::mbStop_Click() { shareBnStop(); }

void frmPlayer::shareBnStop()
{
    tmrCheck->stop();
    if (mplayer_) mplayer_->stopMCI();
    ifStopped();
    busy_ = false;
}

void frmPlayer::setStopDosIo()
{
    tmrCheck->stop();
    ctx_.console.stopConsoleTool();
}

void frmPlayer::jump(int direction)
{
    if (busy_ || !mplayer_) return;
    int target = static_cast<int>(std::nearbyint(mplayer_->getFramesPerSecond() * direction * 10 + std::max(lastFrame_, 0)));
    if (target >= totalFrames_) {
        mbStop_Click();
        return;
    }
    if (target < 1) {
        target = 0;
        playState_ = kPaused;
    }
    mplayer_->setCurFrame(target, playState_ != kPaused);
    latchForState();
    tmrCheckTick();
}

void frmPlayer::seekFrame(int frame)
{
    if (!tmrCheck->isActive() || pixelsPerFrame_ <= 0) return;
    mplayer_->setCurFrame(frame, playState_ != kPaused);
    tmrCheckTick();
}

void frmPlayer::seekBarPressed(int x)
{
    if (pixelsPerFrame_ > 0) seekFrame(static_cast<int>(std::nearbyint(x / pixelsPerFrame_)));
}

void frmPlayer::thumbReleased(int centre)
{
    thumbTag_ = kThumbPolls;
    if (pixelsPerFrame_ > 0) seekFrame(static_cast<int>(std::nearbyint(centre / pixelsPerFrame_)));
}

void frmPlayer::measureSeekBar()
{
    pixelsPerFrame_ = totalFrames_ > 0 ? static_cast<float>(picHsbBack->barWidth()) / totalFrames_ : 0;
}

void frmPlayer::tmrCheckTick()
{
    measureSeekBar(); // the bar follows the window's width
    const int frame = mplayer_->getCurFrame();
    if (!mplayer_->lastOutput().empty()) emit playerOutput(QString::fromStdString(mplayer_->lastOutput()));
    if ((frame != lastFrame_ || playState_ == kPaused) && totalFrames_ > 1) showPosition(frame);
    const bool alive = ctx_.console.isToolAlive();
    lastFrame_ = frame;
    if ((playState_ != kPaused && mplayer_->getStatus() == "stopped") || !alive) mbStop_Click();
}

void frmPlayer::showPosition(int frame)
{
    if (thumbTag_ > 0) {
        --thumbTag_;
        return;
    }
    if (picHsbBack->holdingThumb()) return;
    picHsbBack->setThumbCentre(static_cast<int>(std::nearbyint(frame * pixelsPerFrame_)));
    const double f = std::max(0.0, static_cast<double>(picHsbBack->thumbCentre()) / picHsbBack->barWidth());
    lblFnName->setText(text(playState_ == kPaused ? Msg::PausedPosition : Msg::PlayingPosition) + " " + percentText(f));
    setTimeLabel(lblCurTime, static_cast<float>(mplayer_->getTotalSeconds() * f));
}

void frmPlayer::setTimeLabel(QLabel* label, float seconds)
{
    label->setText(QString::fromStdString(FormatTime(seconds, 3, 0)));
}

void frmPlayer::initVolume(bool initial)
{
    if (initial) {
        mbSound->setState(ZevraButton::kDisabled);
        if (volumeTag_ < 0) volumeTag_ = VolumeSlider::kScale;
    } else if (mplayer_->isVideoOnly()) {
        mbSound->setState(ZevraButton::kDisabled);
    } else if (mbSound->State() == ZevraButton::kDisabled) {
        mbSound->setState(ZevraButton::kUp);
    }
    picVolSdr->setKnob(volumeTag_);
    picVolSdr->setEnabled(mbSound->State() != ZevraButton::kDisabled);
    if (!initial && mbSound->State() != ZevraButton::kDisabled) soundClick();
}

void frmPlayer::soundClick()
{
    mplayer_->setVolume(mbSound->State() == ZevraButton::kDown ? 0 : volumeTag_);
    picVolSdr->setEnabled(mbSound->usable());
}

void frmPlayer::volumeChosen(int volume)
{
    if (!mbSound->usable() || !mplayer_ || mplayer_->FileName().empty()) return;
    mplayer_->setVolume(volume);
    volumeTag_ = mplayer_->getVolume();
    picVolSdr->setKnob(volumeTag_);
}

void frmPlayer::showPlayerNote(const std::string& note)
{
    lblPlayerNote->setText(QString::fromStdString(toUnixLines(note)));
    lblPlayerNote->adjustSize();
    centreNote();
    lblPlayerNote->show();
    lblPlayerNote->raise();
}

void frmPlayer::hidePlayerNote() { lblPlayerNote->hide(); }

void frmPlayer::centreNote()
{
    lblPlayerNote->move((picPlayerContainer->width() - lblPlayerNote->width()) / 2,
                        (picPlayerContainer->height() - lblPlayerNote->height()) / 2);
}

void frmPlayer::setIconTip(const std::string& tip) { picAssIcon->setToolTip(QString::fromStdString(tip)); }

} // namespace qorvid
