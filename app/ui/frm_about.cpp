#include "app/ui/frm_about.h"

#include "app/app_info.h"
#include "app/lang_text.h"
#include "util/text.h"

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace qorvid {

namespace {

QString text(const std::string& s) { return QString::fromStdString(toUnixLines(s)); }

// The dialog's one button: closes it.
QPushButton* okButton(const LangText& lang, QDialog* dialog)
{
    auto* ok = new QPushButton(text(lang[Msg::ExitButton]).isEmpty() ? "OK" : text(lang[Msg::ExitButton]), dialog);
    ok->setObjectName("cmdOK");
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return ok;
}

QLabel* named(QLabel* l, const char* name)
{
    l->setObjectName(name);
    return l;
}

// No address is published: the mail caption stays, the link is inert.
QString noAddress(const LangText& lang)
{
    return QString::fromUtf8(std::string(lang.inLanguage("（未提供）", "（未提供）", "(not given)")).c_str());
}

} // namespace

QPixmap programIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setBrush(QColor(30, 90, 160));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.18, s * 0.18);
    // A film strip turning into a play arrow.
    p.setBrush(QColor(240, 244, 250));
    p.drawRect(QRectF(s * 0.16, s * 0.30, s * 0.30, s * 0.40));
    p.setBrush(QColor(30, 90, 160));
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(s * 0.19, s * (0.33 + i * 0.125), s * 0.05, s * 0.07));
        p.drawRect(QRectF(s * 0.38, s * (0.33 + i * 0.125), s * 0.05, s * 0.07));
    }
    p.setBrush(QColor(255, 180, 40));
    QPolygonF arrow{QPointF(s * 0.52, s * 0.28), QPointF(s * 0.86, s * 0.50), QPointF(s * 0.52, s * 0.72)};
    p.drawPolygon(arrow);
    return pm;
}

frmAbout::frmAbout(const LangText& lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(text(lang[Msg::About]));
    picIcon = named(new QLabel(this), "picIcon");
    picIcon->setPixmap(programIcon(64));
    lblTitle = named(new QLabel(QString("Qorvid ") + QString::fromUtf8(kVersion.data(), kVersion.size()), this), "lblTitle");
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblTitleNote = named(new QLabel(text(lang[Msg::AppTitle]), this), "lblTitleNote");
    lblCopyright = named(new QLabel(text(lang[Msg::FreeSoftware]), this), "lblCopyright");
    lblWebTxt = named(new QLabel(this), "lblWebTxt");
    lblHomepage = named(new QLabel(this), "lblHomepage");
    lblWebTxt->hide();
    lblHomepage->hide();
    lblMailTxt = named(new QLabel(text(lang[Msg::EMail]), this), "lblMailTxt");
    lblMail = named(new QLabel(noAddress(lang), this), "lblMail");
    cmdOK = okButton(lang, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1, 1, 2);
    grid->addWidget(lblTitleNote, 1, 1, 1, 2);
    grid->addWidget(lblCopyright, 2, 1, 1, 2);
    grid->addWidget(lblMailTxt, 3, 1);
    grid->addWidget(lblMail, 3, 2);
    grid->addWidget(cmdOK, 4, 2, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

frmMoney::frmMoney(const LangText& lang, QWidget* parent) : QDialog(parent)
{
    setObjectName("frmMoney");
    setWindowTitle(text(lang[Msg::Donate]));
    picIcon = named(new QLabel(this), "picIcon");
    picIcon->setPixmap(programIcon(48));
    lblDonation = named(new QLabel(text(lang[Msg::SupportText]) + "\n\n" + text(lang[Msg::BankDetails]), this), "lblDonation");
    lblMailTxt = named(new QLabel(text(lang[Msg::EMail]), this), "lblMailTxt");
    lblMail = named(new QLabel(noAddress(lang), this), "lblMail");
    cmdOK = okButton(lang, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, Qt::AlignTop);
    grid->addWidget(lblDonation, 0, 1, 1, 2);
    grid->addWidget(lblMailTxt, 1, 1);
    grid->addWidget(lblMail, 1, 2);
    grid->addWidget(cmdOK, 2, 2, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace qorvid
