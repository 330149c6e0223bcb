// The player window's size and input: fitting the window to the picture, keys, clicks on the
// video, the context menu and dropped files.
#include "app/ui/frm_player.h"

#include "app/ui/main_context.h"
#include "app/ui/video_surface.h"
#include "controls/zevra_button.h"
#include "util/file_object.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace qorvid {

namespace {

constexpr int kMinVideoWidth = 320;
constexpr int kMinVideoHeight = 20;

} // namespace

void frmPlayer::myPutSize(bool request)
{
    int w = 0, h = 0;
    if (previewInPlayer_) {
        w = previewSource_.width();
        h = previewSource_.height();
    } else if (mplayer_) {
        mplayer_->getDefaultSize(w, h);
    }
    if (w * h == 0) {
        w = 0;
        h = 0;
    }
    // The control panel is all there is around the video (no margins, no spacing).
    frameSize_ = QSize(0, picPlusBk->sizeHint().height());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (request) {
        // The picture's own size, made smaller when the screen cannot hold it.
        QSize area(std::max(w, kMinVideoWidth), std::max(h, kMinVideoHeight));
        const QSize room = screen.size() - frameSize_;
        if (area.width() > room.width() || area.height() > room.height()) {
            int fw = w, fh = h;
            getMediaNewSize(room.width(), room.height(), fw, fh);
            area = QSize(std::max(fw, kMinVideoWidth), std::max(fh, kMinVideoHeight));
        }
        resize(area + frameSize_);
    }
    // Back onto the screen.
    QPoint at = pos();
    if (at.x() + width() > screen.right()) at.setX(screen.right() - width());
    if (at.y() + height() > screen.bottom()) at.setY(screen.bottom() - height());
    at.setX(std::max(at.x(), 0));
    at.setY(std::max(at.y(), 0));
    if (at != pos() && isVisible()) move(at);
    layoutVideo();
}

// The picture inside its container: filling it, or fitted and centred when the aspect is kept.
void frmPlayer::layoutVideo()
{
    const QSize box = picPlayerContainer->size();
    int w = 0, h = 0;
    if (mplayer_) mplayer_->getDefaultSize(w, h);
    if (mnuKeepWH->isChecked() && w * h > 0) {
        getMediaNewSize(box.width(), box.height(), w, h);
        picPlayer->setGeometry((box.width() - w) / 2, (box.height() - h) / 2, w, h);
    } else {
        picPlayer->setGeometry(QRect(QPoint(0, 0), box));
    }
    if (lblPlayerNote->isVisible()) centreNote();
    measureSeekBar();
}

void frmPlayer::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!loadingSettings_ && isVisible()) tmrCheckResize->start();
}

void frmPlayer::toggleSpace()
{
    if (busy_ || !(mbPlay->usable() || mbPause->usable())) return;
    if (playState_ != kPlaying)
        mbPlay_Click();
    else
        mbPause_Click();
}

void frmPlayer::keyPressEvent(QKeyEvent* e)
{
    if (busy_ || previewInPlayer_) return;
    switch (e->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_Left:
        if (mbBackward->usable()) jump(-1);
        return;
    case Qt::Key_PageDown:
    case Qt::Key_Right:
        if (mbForward->usable()) jump(1);
        return;
    case Qt::Key_Space:
        toggleSpace();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void frmPlayer::mousePressEvent(QMouseEvent* e)
{
    // A click on the window's own surface acts as Space.
    if (e->button() == Qt::LeftButton && previewInPlayer_) {
        if (previewClick) previewClick();
    } else if (e->button() == Qt::LeftButton) {
        toggleSpace();
    }
    else if (e->button() == Qt::RightButton) showContextMenu(e->globalPosition().toPoint());
}

bool frmPlayer::eventFilter(QObject* o, QEvent* e)
{
    if (o == picPlayerContainer && e->type() == QEvent::Resize) layoutVideo();
    if (e->type() != QEvent::MouseButtonPress || busy_) return false;
    auto* m = static_cast<QMouseEvent*>(e);
    if (m->button() == Qt::RightButton) {
        showContextMenu(m->globalPosition().toPoint());
        return true;
    }
    if (m->button() == Qt::LeftButton && o != picBnBk) {
        if (!previewInPlayer_)
            toggleSpace();
        else if (previewClick)
            previewClick();
        return true;
    }
    return false;
}

void frmPlayer::showContextMenu(const QPoint& globalPos)
{
    enableMenus();
    if (previewInPlayer_) return; // its items are for a file of the window's own
    mnuMain->popup(globalPos);
}

void frmPlayer::mnuOpenClick()
{
    if (markMainInUse) markMainInUse(true);
    mbStop_Click();
    CommDialog& d = ctx_.dialog;
    d.DialogTitle.clear();
    d.FileName.clear();
    d.InitDir.clear();
    d.setFilter(ctx_.generalFilter);
    d.setFilterIndex(1);
    const std::string chosen = d.ShowOpen(false);
    if (!chosen.empty()) playSingle(chosen);
    if (markMainInUse) markMainInUse(false);
}

void frmPlayer::mnuShowHideMainClick()
{
    if (!mainWindow_) return;
    const bool hide = mnuShowHideMain->property("Tag").toString() != "hide";
    mnuShowHideMain->setProperty("Tag", hide ? QString("hide") : QString());
    mnuShowHideMain->setText(text(hide ? Msg::ShowMainWindow : Msg::HideMainWindow));
    mainWindow_->setVisible(!hide);
}

void frmPlayer::mnuTopMostClick()
{
    // On the shown window only the window system is told: a new native window would take
    // the player's drawing surface away.
    if (QWindow* w = windowHandle())
        w->setFlag(Qt::WindowStaysOnTopHint, mnuTopMost->isChecked());
    else
        setWindowFlag(Qt::WindowStaysOnTopHint, mnuTopMost->isChecked());
}

void frmPlayer::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls() || e->mimeData()->hasText()) e->acceptProposedAction();
}

void frmPlayer::dropEvent(QDropEvent* e)
{
    if (busy_ || previewInPlayer_) return;
    QString name;
    const QMimeData* data = e->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty())
        name = data->urls().front().toLocalFile();
    else
        name = data->text().trimmed();
    name.replace("\\\\", "\\");
    if (name.startsWith("file://")) name = QUrl(name).toLocalFile();
    if (name.isEmpty() || !fileObject().FileExists(name.toStdString())) return;
    e->acceptProposedAction();
    dragTag_ = name;
    tmrDrag->start();
}

} // namespace qorvid
