// The job side of the main window: the encode button pair, the progress bar, the time
// estimate, the CPU line and the window's running state.
#include "app/ui/frm_main.h"

#include "app/cpu_note.h"
#include "app/cpu_usage.h"
#include "app/ui/busy_picture.h"
#include "app/ui/frm_output.h"
#include "app/ui/frm_player.h"
#include "app/ui/progress_picture.h"
#include "controls/style_button.h"
#include "util/text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace qorvid {

void frmMain::cmdEncodeClick()
{
    // The stop face: the run notices the flag within one poll.
    if (driver_->running()) {
        driver_->stop();
        return;
    }
    const JobOutcome outcome = driver_->encode();
    emit jobFinished(static_cast<int>(outcome));
    if (closeAfterJob_) close();
}

void frmMain::setProgressNote(float percent, const std::string& caption, bool idleStyle)
{
    picProgress->draw(percent, QString::fromStdString(toUnixLines(caption)), idleStyle);
    picProgress->setProperty("Tag", QString::fromStdString(numberText(percent)));
}

void frmMain::showStartButton()
{
    cmdEncode[1]->hide();
    cmdEncode[0]->show();
}

void frmMain::setEstimateNote(const std::string& text) { picEncodeEsti->print(QString::fromStdString(text)); }

void frmMain::setCpuNote(const std::string& text) { lblEncodeEsti->setText(QString::fromStdString(text)); }

void frmMain::cpuTick()
{
    if (!meter_) return;
    lastCpuLoad_ = meter_->query();
    ctx_->display.setCpuNote(cpuNoteText(ctx_->lang, lastCpuLoad_));
    ctx_->display.showEstimate({});
}

void frmMain::setRunningState(bool running)
{
    for (StyleButton* b : {cmdInput, cmdOutput, cmdOpt}) b->setEnabled(!running);
    cmdEncode[0]->setVisible(!running);
    cmdEncode[1]->setVisible(running);
    imgFun->setActive(running);
    // The idle window shows no time of a run that is over.
    if (!running) picEncodeEsti->print(QString());
}

void frmMain::showKeyFrameNote(const std::string& text)
{
    lblEncodeNoteCheck->setText(QString::fromStdString(toUnixLines(text)));
    lblEncodeNoteCheck->show();
    lblEncodeNoteCheck->raise();
}

void frmMain::hideKeyFrameNote() { lblEncodeNoteCheck->hide(); }

bool frmMain::reviewEnabled() const { return developerMode_ && chkCheckCmd->isChecked(); }

std::string frmMain::reviewCommand(const std::string& command)
{
    chkCheckCmd->setProperty("Tag", QString());
    output->review(command);
    return chkCheckCmd->property("Tag").toString().toStdString();
}

int frmMain::cmdEditSpecIndex() const { return developerMode_ ? cboCmdEditSpec->currentIndex() : 0; }

void frmMain::playTarget(const std::string& path)
{
    cmdEncode[0]->setProperty("Tag", QString("playFromEndEncode"));
    playerWindow().playSingle(path);
    cmdEncode[0]->setProperty("Tag", QString());
}

} // namespace qorvid
