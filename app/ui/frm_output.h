#pragma once
#include "util/reporters.h"

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace qorvid {

// A tool's command line and console output (txtOutputSpec, txtOutput); in the command review
// OK (cmdOkCancel 0) hands the edited command back. Closing it turns the output display off.
class frmOutput final : public QDialog, public OutputView {
    Q_OBJECT
public:
    explicit frmOutput(QWidget* parent = nullptr);

    void setCommand(const std::string& text) override;
    void setOutput(const std::string& text) override;
    void appendOutput(const std::string& text) override;
    void show() override;

    // The review: shows the command modally; returns the edited text, or "" unless OK was pressed.
    std::string review(const std::string& command);

    // Called whenever the window closes (any button, the frame): the owner turns showDosWindow off.
    std::function<void()> onClosed;
    // Called with the text of txtOutput when OK is pressed.
    std::function<void(const std::string&)> onOk;

    QPlainTextEdit* txtOutputSpec = nullptr;
    QPlainTextEdit* txtOutput = nullptr;
    QPushButton* cmdOkCancel[2] = {nullptr, nullptr};

protected:
    void done(int result) override;
    void resizeEvent(QResizeEvent*) override;
};

} // namespace qorvid
