#include "app/ui/message_boxes.h"

#include "app/app_info.h"
#include "app/lang_text.h"
#include "util/text.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

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

// The buttons of one box, in the current language, to tell which one was clicked.
struct BoxButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
};

BoxButtons addButtons(QMessageBox& box, const BoxRequest& r, const std::string& code)
{
    const ButtonWords w = wordsFor(code);
    BoxButtons b;
    switch (r.buttons) {
    case Buttons::Ok: b.ok = box.addButton(QString::fromUtf8(w.ok), QMessageBox::AcceptRole); break;
    case Buttons::OkCancel:
        b.ok = box.addButton(QString::fromUtf8(w.ok), QMessageBox::AcceptRole);
        b.cancel = box.addButton(QString::fromUtf8(w.cancel), QMessageBox::RejectRole);
        break;
    case Buttons::YesNoCancel:
    case Buttons::YesNo:
        b.yes = box.addButton(QString::fromUtf8(w.yes), QMessageBox::YesRole);
        b.no = box.addButton(QString::fromUtf8(w.no), QMessageBox::NoRole);
        if (r.buttons == Buttons::YesNoCancel)
            b.cancel = box.addButton(QString::fromUtf8(w.cancel), QMessageBox::RejectRole);
        break;
    }
    if (r.defaultNo && b.no) box.setDefaultButton(b.no);
    else box.setDefaultButton(b.ok ? b.ok : b.yes);
    if (b.cancel) box.setEscapeButton(b.cancel);
    else if (b.no) box.setEscapeButton(b.no);
    return b;
}

Answer answerOf(const QMessageBox& box, const BoxButtons& b, Buttons buttons)
{
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == b.ok) return Answer::Ok;
    if (clicked == b.yes) return Answer::Yes;
    if (clicked == b.no) return Answer::No;
    if (buttons == Buttons::Ok) return Answer::Ok;
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

QMessageBox* newBox(const BoxRequest& r, QWidget* owner)
{
    const bool question = r.buttons == Buttons::YesNo || r.buttons == Buttons::YesNoCancel;
    return new QMessageBox(question ? QMessageBox::Question : QMessageBox::Information,
                           QString::fromUtf8(kProductName.data(), static_cast<qsizetype>(kProductName.size())),
                           QString::fromStdString(r.text), QMessageBox::NoButton, owner);
}

} // namespace

MessageBoxes::MessageBoxes(const LangText& lang) : lang_(lang)
{
    presenter = [this](const BoxRequest& r) { return showQtBox(r); };
    laterPresenter = [this](const BoxRequest& r, Done done) { openQtBox(r, std::move(done)); };
}

void MessageBoxes::showMessage(const std::string& text)
{
    presenter(BoxRequest{toUnixLines(text), Buttons::Ok, false});
}

Answer MessageBoxes::ask(const std::string& text, Buttons buttons, bool defaultNo)
{
    return presenter(BoxRequest{toUnixLines(text), buttons, defaultNo});
}

void MessageBoxes::askLater(const std::string& text, Buttons buttons, Done done)
{
    laterPresenter(BoxRequest{toUnixLines(text), buttons, false}, std::move(done));
}

Answer MessageBoxes::showQtBox(const BoxRequest& r) const
{
    std::unique_ptr<QMessageBox> box(newBox(r, owner));
    box->setWindowModality(Qt::ApplicationModal);
    const BoxButtons b = addButtons(*box, r, lang_.code());
    box->exec();
    return answerOf(*box, b, r.buttons);
}

void MessageBoxes::openQtBox(const BoxRequest& r, Done done) const
{
    QMessageBox* box = newBox(r, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const BoxButtons b = addButtons(*box, r, lang_.code());
    QObject::connect(box, &QDialog::finished, box,
                     [box, b, buttons = r.buttons, done = std::move(done)] { done(answerOf(*box, b, buttons)); });
    box->open(); // modal over the owner window; returns at once
}

} // namespace qorvid
