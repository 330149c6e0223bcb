#include "app/ui/frm_output.h"

#include "util/text.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace qorvid {

frmOutput::frmOutput(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmOutput");
    setWindowTitle("Qorvid");
    txtOutputSpec = new QPlainTextEdit(this);
    txtOutputSpec->setObjectName("txtOutputSpec");
    txtOutputSpec->setReadOnly(true);
    txtOutput = new QPlainTextEdit(this);
    txtOutput->setObjectName("txtOutput");
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    txtOutput->setFont(mono);
    txtOutputSpec->setFont(mono);
    const char* captions[2] = {"OK", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        cmdOkCancel[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        cmdOkCancel[i]->setObjectName("cmdOkCancel");
        cmdOkCancel[i]->setProperty("Index", i);
    }
    connect(cmdOkCancel[0], &QPushButton::clicked, this, [this] {
        if (onOk) onOk(txtOutput->toPlainText().toStdString());
        accept();
    });
    connect(cmdOkCancel[1], &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 420);
    txtOutputSpec->clear();
    txtOutput->clear();
}

void frmOutput::resizeEvent(QResizeEvent*)
{
    const int m = 8, bw = 90, bh = 28, specH = 64;
    txtOutputSpec->setGeometry(m, m, width() - 2 * m, specH);
    txtOutput->setGeometry(m, 2 * m + specH, width() - 2 * m, height() - 4 * m - specH - bh);
    cmdOkCancel[1]->setGeometry(width() - m - bw, height() - m - bh, bw, bh);
    cmdOkCancel[0]->setGeometry(width() - 2 * m - 2 * bw, height() - m - bh, bw, bh);
}

void frmOutput::setCommand(const std::string& text)
{
    txtOutputSpec->setPlainText(QString::fromStdString(toUnixLines(text)));
}

void frmOutput::setOutput(const std::string& text)
{
    txtOutput->setPlainText(QString::fromStdString(toUnixLines(text)));
    txtOutput->verticalScrollBar()->setValue(txtOutput->verticalScrollBar()->maximum());
}

void frmOutput::appendOutput(const std::string& text)
{
    QTextCursor c = txtOutput->textCursor();
    c.movePosition(QTextCursor::End);
    c.insertText(QString::fromStdString(toUnixLines(text)));
    txtOutput->verticalScrollBar()->setValue(txtOutput->verticalScrollBar()->maximum());
}

void frmOutput::show()
{
    QDialog::show();
    raise();
}

std::string frmOutput::review(const std::string& command)
{
    std::string result;
    txtOutputSpec->clear();
    txtOutput->setPlainText(QString::fromStdString(command));
    auto previous = onOk;
    onOk = [&](const std::string& text) {
        result = text;
        if (previous) previous(text);
    };
    setWindowModality(Qt::ApplicationModal);
    exec();
    setWindowModality(Qt::NonModal);
    onOk = previous;
    return result;
}

void frmOutput::done(int result)
{
    QDialog::done(result);
    if (onClosed) onClosed();
}

} // namespace qorvid
