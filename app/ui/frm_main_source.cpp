// The source and target side of the main window: the two big buttons, add-source, the target
// re-choice, playing files and drag and drop.
#include "app/ui/frm_main.h"

#include "app/paths.h"
#include "app/ui/frm_options.h"
#include "app/ui/frm_player.h"
#include "controls/style_button.h"
#include "engine/job_preparation.h"
#include "media/format_catalog.h"
#include "engine/format_time.h"
#include "media/source_check.h"
#include "options/option_args.h"
#include "util/file_object.h"
#include "util/text.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QUrl>

#include <cmath>

namespace qorvid {

namespace {

// Clears a button's busy mark on every way out.
struct BusyMark {
    BusyMark(QWidget* w) : widget(w) { widget->setProperty("Tag", QString("inUse")); }
    ~BusyMark() { widget->setProperty("Tag", QString()); }
    QWidget* widget;
};

} // namespace

void frmMain::cmdInputClick()
{
    if (busy()) return;
    menuItem("mnuToPlay", 1)->setEnabled(fileObject().FileExists(ctx_->labels.input));
    mnuSrcType->popup(cmdInput->mapToGlobal(QPoint(0, cmdInput->height())));
}

void frmMain::cmdOutputClick()
{
    if (busy()) return;
    closePlayer();
    menuItem("mnuToPlay2")->setEnabled(fileObject().FileExists(ctx_->labels.output));
    mnuTarget->popup(cmdOutput->mapToGlobal(QPoint(0, cmdOutput->height())));
}

void frmMain::cmdOptClick()
{
    if (busy()) return;
    closePlayer();
    if (!checkToolFile(ctx_->paths.toolPath(1), ctx_->boxes, ctx_->lang)) return;
    if (!checkSource(ctx_->labels.input, ctx_->job, false, ctx_->boxes, ctx_->lang)) return;
    options_->showWindow(this);
}

void frmMain::addSourceFrom(const FormatEntry& entry)
{
    addSource(targetExt(entry), entry.kind, formatCaption(entry, ctx_->lang));
}

void frmMain::addSource(const std::string& extOrList, TargetKind kind, const std::string& formatCaption)
{
    if (busy()) return;
    closePlayer();
    BusyMark mark(cmdInput);

    CommDialog& d = ctx_->dialog;
    d.DialogTitle.clear();
    d.InitDir.clear();
    d.FileName.clear();
    d.setFilter(openFilterFor(kind, extOrList, ctx_->generalFilter));
    d.setFilterIndex(1);
    const std::string path = d.ShowOpen(false);
    if (path.empty()) return;

    ProbeContext probe{ctx_->runner, ctx_->paths, ctx_->lang, ctx_->boxes, &ctx_->mediaInfo,
                       chkCheckAsfMci->isChecked(), this};
    AddSourceContext add{ctx_->job, ctx_->labels, ctx_->lang, ctx_->boxes, probe, targetFolderSetting(), {}, {}};
    if (!acceptSourceFile(path, ctx_->boxes, ctx_->lang)) return;
    lblEncodeNote->clear();
    ctx_->summary.clear();
    lblOutput->clear();
    lblOutput->setToolTip({});
    setLabelPath(lblInput, path, Msg::NoSourceYet);
    QCoreApplication::processEvents();

    PreparedJob prepared = prepareJob(extOrList, kind, path, formatCaption, add);
    refreshLabels();
    if (!prepared.ready) return;

    OkOutcome ok = applyOptions(prepared.options, ctx_->job, ctx_->lang, ctx_->boxes);
    ctx_->options = prepared.options;
    ctx_->summary = ok.ok() ? ok.summary : buildSummary(prepared.options, ctx_->job, ctx_->lang);
    options_->loadFromJob();
    lblEncodeNote->setText(QString::fromStdString(toUnixLines(ctx_->summary)));
    refreshJobWords();
    for (StyleButton* b : {cmdInput, cmdOutput, cmdOpt, cmdEncode[0]}) b->setEnabled(true);
}

void frmMain::setVideoInfoNote(const JobState& job, const std::string& lengthTooltip)
{
    const LangText& L = ctx_->lang;
    lengthTooltip_ = lengthTooltip;
    std::string size = L[Msg::SourcePictureSize] + (job.srcWidth >= 1 ? std::to_string(job.srcWidth) + " x " + std::to_string(job.srcHeight)
                                                  : L[Msg::Unknown]);
    std::string length = L[Msg::SourceLength];
    length += job.srcLength > 0 ? FormatTime(std::round(job.srcLength), 3, 0) : L[Msg::Unknown];
    length += L[Msg::FrameRateSuffix];
    length += job.srcLength > 0 && job.srcFps > 0 ? numberText(job.srcFps) : L[Msg::Unknown];
    lblVideoSize->setText(QString::fromStdString(toUnixLines(size)));
    lblVideoLen->setText(QString::fromStdString(toUnixLines(length)));
    lblVideoLen->setToolTip(QString::fromStdString(toUnixLines(lengthTooltip)));
}

void frmMain::showProbeBusy(const std::string& note)
{
    lblInputCheck->setText(QString::fromStdString(toUnixLines(note)));
    lblVideoSize->hide();
    lblVideoLen->hide();
    lblInputCheck->show();
}

void frmMain::hideProbeBusy()
{
    lblInputCheck->hide();
    lblVideoSize->show();
    lblVideoLen->show();
}

void frmMain::mnuTargetFileClick()
{
    if (busy()) return;
    if (!checkSource(ctx_->labels.input, ctx_->job, true, ctx_->boxes, ctx_->lang)) return;
    BusyMark mark(cmdOutput);
    const std::string ext = ctx_->job.targetExt;
    const std::string target = ctx_->labels.output;
    FileObject& fo = fileObject();
    CommDialog& d = ctx_->dialog;
    d.DialogTitle.clear();
    d.setFilter(toUpper(ext) + " Files(*." + ext + ")|*." + ext + "|All Files (*.*)|*.*");
    d.setFilterIndex(1);
    d.InitDir = fo.GetParentFolderName(target);
    d.FileName = fo.GetBaseName(target) + "." + ext;
    std::string chosen = d.ShowSave(false);
    if (chosen.empty()) return;
    // The tool writes the format the kind names, whatever the name says: the name must say it too.
    if (toLower(fo.GetExtensionName(chosen)) != toLower(ext)) chosen += (endsWith(chosen, ".") ? "" : ".") + ext;
    ctx_->labels.output = chosen;
    refreshLabels();
}

void frmMain::playItem(int index)
{
    closePlayer();
    std::string name;
    if (index == 0) {
        QAction* item = menuItem("mnuToPlay", 0);
        name = item->property("Tag").toString().toStdString();
        item->setProperty("Tag", QString());
        if (name.empty()) {
            BusyMark mark(cmdInput);
            CommDialog& d = ctx_->dialog;
            d.DialogTitle.clear();
            d.FileName.clear();
            d.setFilter(ctx_->generalFilter);
            d.setFilterIndex(1);
            name = d.ShowOpen(false);
        }
    } else {
        name = index == 1 ? ctx_->labels.input : ctx_->labels.output;
    }
    cmdInput->setProperty("Tag", QString());
    if (name.empty()) return;
    if (!acceptSourceFile(name, ctx_->boxes, ctx_->lang)) return;
    playerWindow().playSingle(name);
}

void frmMain::dropOnSource(const QStringList& files, const QString& dropped)
{
    if (busy()) return;
    QString name = files.isEmpty() ? dropped.trimmed() : files.front();
    name.replace("\\\\", "\\");
    if (name.startsWith("file://")) name = QUrl(name).toLocalFile();
    if (name.isEmpty() || !fileObject().FileExists(name.toStdString())) return;
    menuItem("mnuToPlay", 0)->setProperty("Tag", name);
    tmrDrag.start();
}

void frmMain::cmdDelSrcClick()
{
    const std::string source = ctx_->labels.input;
    const LangText& L = ctx_->lang;
    FileObject& fo = fileObject();
    if (!fo.FileExists(source)) {
        ctx_->boxes.showMessage(std::string(L.inLanguage("來源影音：不存在", "来源影音：不存在", "Source: does not exist")));
        return;
    }
    const std::string really(L.inLanguage("確定要刪除來源影音？", "确定要删除来源影音？", "Really delete the source?"));
    if (ctx_->boxes.ask(really, Buttons::YesNo, true) != Answer::Yes) return;
    fo.DeleteFile(source);
    if (!fo.FileExists(source))
        ctx_->boxes.showMessage(std::string(L.inLanguage("來源影音：刪除成功", "来源影音：删除成功", "Source: deleted")));
}

} // namespace qorvid
