#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace qorvid {

// What a dialog is asked to show. filters are in Qt's form ("AVI Files (*.avi)").
struct DialogRequest {
    enum class Kind { Open, Save, Folder } kind = Kind::Open;
    QWidget* owner = nullptr;
    QString title;
    QString initialFolder;
    QStringList filters;
    int filterIndex = 1; // 1-based
    QString fileName;    // the preset name of the save dialog
    bool multiSelect = false;
};

// What the person chose: nothing (cancelled), or the paths and the filter entry in use.
struct DialogResult {
    QStringList paths;
    int filterIndex = 0; // 1-based; 0 when the dialog did not say
};

// The open, save and folder dialogs. The chooser shows the dialog; tests replace it.
class CommDialog {
public:
    using Chooser = std::function<DialogResult(const DialogRequest&)>;

    CommDialog();

    // "Desc|patterns|Desc|patterns" (a trailing "|" is ignored).
    void setFilter(const std::string& filter);
    const std::string& Filter() const { return filter_; }
    // The Qt form of the filter: "Desc (*.a *.b)" per entry.
    const QStringList& qtFilters() const { return qtFilters_; }
    int FilterIndex() const { return filterIndex_; }
    void setFilterIndex(int index) { filterIndex_ = index; }

    std::string DialogTitle;
    std::string InitDir;  // "" means the current folder
    std::string FileName; // preset and result
    QWidget* owner = nullptr;

    // The chosen name, "" when cancelled. Multi-select fills FileArray.
    std::string ShowOpen(bool multiSelect = false);
    std::string ShowSave(bool multiSelect = false);
    // The chosen folder with a trailing separator, "" when cancelled. clearInitDir resets InitDir.
    std::string ShowDir(bool clearInitDir = false);

    std::string FileTitle;               // the chosen file's name without its folder
    std::string FileExt;                 // its extension, lower case
    std::vector<std::string> FileArray;  // every chosen path of a multi-selection

    Chooser chooser;
    // The dialogs of the platform (QFileDialog).
    static DialogResult showQtDialog(const DialogRequest& request);

private:
    std::string showFile(DialogRequest::Kind kind, bool multiSelect);
    std::string initialFolder() const;

    std::string filter_;
    QStringList qtFilters_;
    int filterIndex_ = 1;
};

// The program-wide instance of the windows.
CommDialog& commDialog();

// One "Desc|patterns" pair in Qt's form: a description's own "(...)" is replaced by the patterns.
QString qtFilterEntry(const QString& description, const QString& patterns);

} // namespace qorvid
