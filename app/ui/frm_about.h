#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace qorvid {

class LangText;
class ShellOps;


// The about window: product, version and a neutral line; the mail link is inert.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    frmAbout(const LangText& lang, QWidget* parent = nullptr);
    QLabel *lblTitle, *lblTitleNote, *lblCopyright, *lblWebTxt, *lblHomepage, *lblMailTxt, *lblMail, *picIcon;
    QPushButton* cmdOK;
};

// The donation window: messages 136 and 137, the mail caption and an OK button.
class frmMoney final : public QDialog {
    Q_OBJECT
public:
    frmMoney(const LangText& lang, QWidget* parent = nullptr);
    QLabel *lblDonation, *lblMailTxt, *lblMail, *picIcon;
    QPushButton* cmdOK;
};

// The program's icon drawn at a size (also the window icon).
QPixmap programIcon(int size);

} // namespace qorvid
