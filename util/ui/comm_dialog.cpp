#include "util/ui/comm_dialog.h"

#include "util/file_object.h"
#include "util/text.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

#include <filesystem>

namespace qorvid {

QString qtFilterEntry(const QString& description, const QString& patterns)
{
    QString desc = description.trimmed();
    static const QRegularExpression ownPatterns(QStringLiteral("\\s*\\([^()]*\\)$"));
    desc.remove(ownPatterns);
    QString list = patterns;
    list.replace(';', ' ');
    return desc + " (" + list.simplified() + ")";
}

CommDialog::CommDialog() : chooser(&CommDialog::showQtDialog) {}

void CommDialog::setFilter(const std::string& filter)
{
    filter_ = filter;
    qtFilters_.clear();
    const QStringList parts = QString::fromStdString(filter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty() || !parts[i + 1].isEmpty()) qtFilters_ << qtFilterEntry(parts[i], parts[i + 1]);
}

std::string CommDialog::initialFolder() const
{
    if (!InitDir.empty()) return InitDir;
    std::error_code ec;
    return ensureBackslash(std::filesystem::current_path(ec).string());
}

std::string CommDialog::showFile(DialogRequest::Kind kind, bool multiSelect)
{
    DialogRequest req;
    req.kind = kind;
    req.owner = owner;
    req.title = QString::fromStdString(DialogTitle);
    req.initialFolder = QString::fromStdString(initialFolder());
    req.filters = qtFilters_;
    if (filterIndex_ <= 0) filterIndex_ = 1;
    req.filterIndex = filterIndex_;
    req.fileName = QString::fromStdString(FileName);
    req.multiSelect = multiSelect;

    DialogResult res = chooser(req);
    FileArray.clear();
    if (res.paths.isEmpty() || res.paths.front().isEmpty()) return {};
    for (const QString& p : res.paths) FileArray.push_back(p.toStdString());
    if (res.filterIndex > 0) filterIndex_ = res.filterIndex;
    FileName = FileArray.front();
    FileTitle = fileObject().GetFileName(FileName);
    FileExt = toLower(fileObject().GetExtensionName(FileName));
    return FileName;
}

std::string CommDialog::ShowOpen(bool multiSelect) { return showFile(DialogRequest::Kind::Open, multiSelect); }
std::string CommDialog::ShowSave(bool multiSelect) { return showFile(DialogRequest::Kind::Save, multiSelect); }

std::string CommDialog::ShowDir(bool clearInitDir)
{
    DialogRequest req;
    req.kind = DialogRequest::Kind::Folder;
    req.owner = owner;
    req.title = QString::fromStdString(DialogTitle);
    req.initialFolder = QString::fromStdString(initialFolder());
    DialogResult res = chooser(req);
    if (clearInitDir) InitDir.clear();
    if (res.paths.isEmpty() || res.paths.front().isEmpty()) return {};
    return ensureBackslash(res.paths.front().toStdString());
}

DialogResult CommDialog::showQtDialog(const DialogRequest& req)
{
    QFileDialog dlg(req.owner, req.title, req.initialFolder);
    dlg.setWindowModality(Qt::ApplicationModal);
    DialogResult res;
    if (req.kind == DialogRequest::Kind::Folder) {
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly);
    } else {
        const bool save = req.kind == DialogRequest::Kind::Save;
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile : req.multiSelect ? QFileDialog::ExistingFiles
                                                                      : QFileDialog::ExistingFile);
        if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite); // the job asks itself
        dlg.setNameFilters(req.filters);
        if (req.filterIndex >= 1 && req.filterIndex <= req.filters.size())
            dlg.selectNameFilter(req.filters[req.filterIndex - 1]);
        if (!req.fileName.isEmpty()) dlg.selectFile(req.fileName);
    }
    if (dlg.exec() != QDialog::Accepted) return res;
    res.paths = dlg.selectedFiles();
    res.filterIndex = static_cast<int>(req.filters.indexOf(dlg.selectedNameFilter())) + 1;
    return res;
}

CommDialog& commDialog()
{
    static CommDialog instance;
    return instance;
}

} // namespace qorvid
