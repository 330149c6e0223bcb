// Pages 0 and 1 of the options window: target, frame rate and marked range; video bit rate,
// size, crop order, borders and rotation.
#include "app/ui/frm_options.h"

#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "controls/style_button.h"
#include "options/option_lists.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qorvid {

using namespace options_ui;

namespace {

QLabel* wrapping(QWidget* parent, const char* name, int index = -1)
{
    auto* l = named<QLabel>(parent, name, index);
    l->setWordWrap(true);
    return l;
}

QLineEdit* numberBox(QWidget* parent, QObject* filter, const char* name, int index, KeyFilter kind, int chars = 6)
{
    auto* t = named<QLineEdit>(parent, name, index);
    t->setProperty(kKeyFilter, static_cast<int>(kind));
    t->installEventFilter(filter);
    t->setMaximumWidth(t->fontMetrics().horizontalAdvance(QString(chars, '0')) + 16);
    return t;
}

StyleButton* smallButton(QWidget* parent, const char* name, int index = -1)
{
    auto* b = flatButton(parent, name, index);
    b->setMinimumHeight(26);
    return b;
}

} // namespace

QWidget* frmOptions::buildGeneralPage()
{
    auto* w = named<QWidget>(this, "fraGeneral");
    auto* col = new QVBoxLayout(w);
    lblFormatStr = wrapping(w, "lblFormatStr");
    col->addWidget(lblFormatStr);
    auto* fps = new QHBoxLayout;
    lblFpsStr = named<QLabel>(w, "lblFpsStr");
    cboFps = numberList(w, "cboFps");
    fps->addWidget(lblFpsStr);
    fps->addWidget(cboFps, 1);
    col->addLayout(fps);
    col->addSpacing(10);

    lblScopeStr = wrapping(w, "lblScopeStr");
    col->addWidget(lblScopeStr);
    auto* scope = new QGridLayout;
    for (int i = 0; i < 2; ++i) {
        QLineEdit* box = named<QLineEdit>(w, "txtScope", i);
        box->setMaxLength(10);
        box->setMaximumWidth(box->fontMetrics().horizontalAdvance("00:00:00.00") + 16);
        connect(box, &QLineEdit::editingFinished, this, [this, i] {
            // Leaving for OK or Cancel: OK checks the times itself, Cancel drops them.
            QWidget* next = QApplication::focusWidget();
            if (next == cmdOkCancel[0] || next == cmdOkCancel[1]) return;
            checkScopeBoxes(i);
        });
        txtScope[static_cast<size_t>(i)] = box;
        lblMark[static_cast<size_t>(i)] = smallButton(w, "lblMark", i);
        connect(lblMark[static_cast<size_t>(i)], &StyleButton::Click, this, [this, i] { markClick(i); });
        // Marks follow the preview's position; without a playing preview a click does nothing.
        scope->addWidget(box, 0, i);
        scope->addWidget(lblMark[static_cast<size_t>(i)], 1, i);
    }
    lblMarkDel = smallButton(w, "lblMarkDel");
    connect(lblMarkDel, &StyleButton::Click, this, &frmOptions::clearMarks);
    scope->addWidget(lblMarkDel, 1, 2);
    scope->setColumnStretch(3, 1);
    col->addLayout(scope);
    lblScopeNote = wrapping(w, "lblScopeNote");
    col->addWidget(lblScopeNote);
    col->addStretch(1);
    return w;
}

QWidget* frmOptions::buildPicturePage()
{
    auto* w = named<QWidget>(this, "fraPicture");
    auto* col = new QVBoxLayout(w);
    auto* grid = new QGridLayout;
    lblVideoBitrateStr = named<QLabel>(w, "lblVideoBitrateStr");
    cboVideoBitrate = numberList(w, "cboVideoBitrate", &ConversionOptions::videoBitrateFromSource);
    grid->addWidget(lblVideoBitrateStr, 0, 0);
    grid->addWidget(cboVideoBitrate, 0, 1);

    lblSizeStr = named<QLabel>(w, "lblSizeStr");
    cboSize = named<QComboBox>(w, "cboSize");
    connect(cboSize, qOverload<int>(&QComboBox::activated), this, [this] {
        SetSizeSetting();
        focusToHidden();
    });
    auto* size = new QHBoxLayout;
    size->addWidget(cboSize, 1);
    for (int i = 0; i < 2; ++i) {
        txtSize[static_cast<size_t>(i)] = numberBox(w, this, "txtSize", i, kDigits, 5);
        if (i == 1) size->addWidget(new QLabel("x", w));
        size->addWidget(txtSize[static_cast<size_t>(i)]);
    }
    connect(txtSize[0], &QLineEdit::editingFinished, this, &frmOptions::SetSizeSetting);
    grid->addWidget(lblSizeStr, 1, 0);
    grid->addLayout(size, 1, 1);

    lblRotateStr = named<QLabel>(w, "lblRotateStr");
    cboRotate = named<QComboBox>(w, "cboRotate");
    connect(cboRotate, qOverload<int>(&QComboBox::activated), this, [this] {
        focusToHidden();
        previewPictureChanged();
    });
    grid->addWidget(lblRotateStr, 2, 0);
    grid->addWidget(cboRotate, 2, 1);
    grid->setColumnStretch(1, 1);
    col->addLayout(grid);
    lblRotateStr2 = wrapping(w, "lblRotateStr2");
    col->addWidget(lblRotateStr2);
    col->addSpacing(6);

    lblCropStr = wrapping(w, "lblCropStr");
    col->addWidget(lblCropStr);
    for (int i = 0; i < 2; ++i) {
        optScaleCrop[static_cast<size_t>(i)] = named<QRadioButton>(w, "optScaleCrop", i);
        connect(optScaleCrop[static_cast<size_t>(i)], &QRadioButton::clicked, this, &frmOptions::focusToHidden);
        col->addWidget(optScaleCrop[static_cast<size_t>(i)]);
    }
    col->addSpacing(6);
    lblExpandStr = named<QLabel>(w, "lblExpandStr");
    col->addWidget(lblExpandStr);
    auto* borders = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        lblExpand2Str[static_cast<size_t>(i)] = named<QLabel>(w, "lblExpand2Str", i);
        txtExpand[static_cast<size_t>(i)] = numberBox(w, this, "txtExpand", i, kDigits, 4);
        borders->addWidget(lblExpand2Str[static_cast<size_t>(i)]);
        borders->addWidget(txtExpand[static_cast<size_t>(i)]);
        borders->addSpacing(8);
    }
    borders->addStretch(1);
    col->addLayout(borders);
    col->addStretch(1);
    return w;
}

void frmOptions::captionsGeneral()
{
    const LangText& L = ctx_.lang;
    lblFpsStr->setText(msgText(L, Msg::SetFrameRate));
    lblScopeStr->setText(msgText(L, Msg::SetMarkedRange));
    for (int i = 0; i < 2; ++i) {
        setButtonCaption(lblMark[static_cast<size_t>(i)], msgText(L, i == 0 ? Msg::MarkStart : Msg::MarkEnd));
        lblMark[static_cast<size_t>(i)]->setToolTip(msgText(L, i == 0 ? Msg::MarkStartTip : Msg::MarkEndTip));
    }
    setButtonCaption(lblMarkDel, msgText(L, Msg::ClearMarks));
    lblMarkDel->setToolTip(msgText(L, Msg::ClearMarks));
    const Msg scopeTip = ctx_.job.targetKind == TargetKind::OnlyFix ? Msg::WholeVideoRepaired : Msg::MarkButtonsTip;
    for (QLineEdit* t : txtScope) t->setToolTip(msgText(L, scopeTip));
    lblFormatStr->setText(qs(L[Msg::SetTargetFormat] + base_.formatCaption));
    refreshScopeNote();
}

void frmOptions::captionsPicture()
{
    const LangText& L = ctx_.lang;
    // "Set" reads before the name; a table that writes it as a suffix (" Settings") names the field alone.
    const bool suffix = !L[Msg::SettingsSuffix].empty() && L[Msg::SettingsSuffix][0] == ' ';
    lblVideoBitrateStr->setText(qs(suffix ? L[Msg::VideoBitrate] : L[Msg::SettingsSuffix] + L[Msg::VideoBitrate]));
    lblSizeStr->setText(msgText(L, Msg::SetPictureSize));
    lblCropStr->setText(msgText(L, Msg::SetCrop));
    lblRotateStr->setText(msgText(L, Msg::SetFlipRotate));
    lblRotateStr2->setText(msgText(L, Msg::FlipComesLast));
    for (int i = 0; i < 2; ++i) optScaleCrop[static_cast<size_t>(i)]->setText(msgText(L, i == 0 ? Msg::ResizeThenCrop : Msg::CropThenResize));
    lblExpandStr->setText(msgText(L, Msg::AddBorders));
    for (int i = 0; i < 4; ++i) {
        const Msg sides[] = {Msg::TopBorder, Msg::BottomBorder, Msg::LeftBorder, Msg::RightBorder};
        lblExpand2Str[static_cast<size_t>(i)]->setText(msgText(L, sides[i]));
        txtExpand[static_cast<size_t>(i)]->setToolTip(msgText(L, Msg::BorderEvenTip));
    }
    for (QLineEdit* t : txtSize) t->setToolTip(msgText(L, Msg::SizeEvenTip));
}

void frmOptions::SetSizeSetting()
{
    const JobState& job = ctx_.job;
    const SizeSetting s = qorvid::SetSizeSetting(cboSize->currentIndex(),
                                                 ss(txtSize[0]->text()), ss(txtSize[1]->text()), job.srcWidth,
                                                 job.srcHeight);
    txtSize[0]->setText(qs(s.width));
    txtSize[1]->setText(qs(s.height));
    refreshEnables();
}

} // namespace qorvid
