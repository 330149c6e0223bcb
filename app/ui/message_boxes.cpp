#include "app/ui/message_boxes.h"

#include "app/app_info.h"
#include "app/lang_text.h"
#include "util/text.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace qorvid {

namespace {

struct ButtonWords {
    const char* ok;
    const char* cancel;
    const char* yes;
    const char* no;
};

ButtonWords wordsFor(const std::string& code)
{
    if (code == "tw") return {"確定", "取消", "是(&Y)", "否(&N)"};
    if (code == "gb") return {"确定", "取消", "是(&Y)", "否(&N)"};
    return {"OK", "Cancel", "&Yes", "&No"};
}

} // namespace

MessageBoxes::MessageBoxes(const LangText& lang) : lang_(lang)
{
    presenter = [this](const BoxRequest& r) { return showQtBox(r); };
}

void MessageBoxes::showMessage(const std::string& text)
{
    presenter(BoxRequest{toUnixLines(text), Buttons::Ok, false});
}

Answer MessageBoxes::ask(const std::string& text, Buttons buttons, bool defaultNo)
{
    return presenter(BoxRequest{toUnixLines(text), buttons, defaultNo});
}

Answer MessageBoxes::showQtBox(const BoxRequest& r) const
{
    const bool question = r.buttons == Buttons::YesNo || r.buttons == Buttons::YesNoCancel;
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::Information,
                    QString::fromUtf8(kProductName.data(), static_cast<qsizetype>(kProductName.size())),
                    QString::fromStdString(r.text), QMessageBox::NoButton, owner);
    box.setWindowModality(Qt::ApplicationModal);
    const ButtonWords w = wordsFor(lang_.code());
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (r.buttons) {
    case Buttons::Ok: ok = box.addButton(QString::fromUtf8(w.ok), QMessageBox::AcceptRole); break;
    case Buttons::OkCancel:
        ok = box.addButton(QString::fromUtf8(w.ok), QMessageBox::AcceptRole);
        cancel = box.addButton(QString::fromUtf8(w.cancel), QMessageBox::RejectRole);
        break;
    case Buttons::YesNoCancel:
    case Buttons::YesNo:
        yes = box.addButton(QString::fromUtf8(w.yes), QMessageBox::YesRole);
        no = box.addButton(QString::fromUtf8(w.no), QMessageBox::NoRole);
        if (r.buttons == Buttons::YesNoCancel)
            cancel = box.addButton(QString::fromUtf8(w.cancel), QMessageBox::RejectRole);
        break;
    }
    if (r.defaultNo && no) box.setDefaultButton(no);
    else box.setDefaultButton(ok ? ok : yes);
    if (cancel) box.setEscapeButton(cancel);
    else if (no) box.setEscapeButton(no);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == ok) return Answer::Ok;
    if (clicked == yes) return Answer::Yes;
    if (clicked == no) return Answer::No;
    if (r.buttons == Buttons::Ok) return Answer::Ok;
    return r.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

} // namespace qorvid
