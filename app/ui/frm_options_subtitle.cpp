// Page 4 of the options window: the subtitle file and its look.
#include "app/ui/frm_options.h"

#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "app/ui/preview_slider.h"
#include "player/preview_player.h"
#include "controls/style_button.h"
#include "options/option_checks.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qorvid {

using namespace options_ui;

// The subtitle file box and its browse button.
QLayout* frmOptions::buildSubtitleFileRow(QWidget* w)
{
    auto* file = new QHBoxLayout;
    txtSubFile = named<QLineEdit>(w, "txtSubFile");
    mbSubFIle = named<StyleButton>(w, "mbSubFIle");
    mbSubFIle->setButtonType(2);
    mbSubFIle->setCaption("...");
    mbSubFIle->setFixedSize(34, 26);
    connect(mbSubFIle, &StyleButton::Click, this, [this] {
        CommDialog& d = ctx_.dialog;
        d.DialogTitle.clear();
        d.FileName.clear();
        d.setFilter("Sub Files (*.srt;*.sub;*.mkv;*.smi;*.utf;*.ass;*.ssa)|*.srt;*.sub;*.mkv;*.smi;*.utf;*.ass;*.ssa|"
                    "All Files (*.*)|*.*");
        d.setFilterIndex(1);
        const std::string chosen = d.ShowOpen(false);
        if (!chosen.empty()) txtSubFile->setText(QString::fromStdString(chosen));
    });
    file->addWidget(txtSubFile, 1);
    file->addWidget(mbSubFIle);
    return file;
}

// Font, code page and the number boxes of the subtitle page.
QLayout* frmOptions::buildSubtitleGrid(QWidget* w)
{
    auto* grid = new QGridLayout;
    lblSubFontStr = named<QLabel>(w, "lblSubFontStr");
    cboSubFont = named<QComboBox>(w, "cboSubFont");
    lblSubcpStr = named<QLabel>(w, "lblSubcpStr");
    cboSubcp = named<QComboBox>(w, "cboSubcp");
    for (QComboBox* list : {cboSubFont, cboSubcp}) {
        connect(list, qOverload<int>(&QComboBox::activated), this, &frmOptions::focusToHidden);
        // Long font names must not widen the window; the open list shows them whole.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(24);
    }
    grid->addWidget(lblSubFontStr, 0, 0);
    grid->addWidget(cboSubFont, 0, 1, 1, 3);
    grid->addWidget(lblSubcpStr, 1, 0);
    grid->addWidget(cboSubcp, 1, 1, 1, 3);
    struct Row {
        QLabel*& label;
        const char* labelName;
        QLineEdit*& box;
        const char* boxName;
        KeyFilter filter;
    } rows[] = {{lblSubSizeStr, "lblSubSizeStr", txtSubSize, "txtSubSize", kDigits},
                {lblSubPosHgtStr, "lblSubPosHgtStr", txtSubPosHgt, "txtSubPosHgt", kDigits},
                {lblSubOutlineStr, "lblSubOutlineStr", txtSubOutline, "txtSubOutline", kDigits},
                {lblSubBlurStr, "lblSubBlurStr", txtSubBlur, "txtSubBlur", kDigits},
                {lblSubDelayStr, "lblSubDelayStr", txtSubDelay, "txtSubDelay", kSignedDecimal}};
    int r = 2;
    for (Row& row : rows) {
        row.label = named<QLabel>(w, row.labelName);
        row.box = named<QLineEdit>(w, row.boxName);
        row.box->setProperty(kKeyFilter, static_cast<int>(row.filter));
        row.box->installEventFilter(this);
        row.box->setMaximumWidth(row.box->fontMetrics().horizontalAdvance("000000") + 16);
        grid->addWidget(row.label, r, 0);
        grid->addWidget(row.box, r, 1);
        ++r;
    }
    lblSubPosHgt2Str = named<QLabel>(w, "lblSubPosHgt2Str");
    grid->addWidget(lblSubPosHgt2Str, 3, 2);
    grid->setColumnStretch(3, 1);
    return grid;
}

QWidget* frmOptions::buildSubtitlePage()
{
    auto* w = named<QWidget>(this, "fraSubtitle");
    auto* col = new QVBoxLayout(w);
    for (int i = 0; i < 2; ++i) {
        optSub[static_cast<size_t>(i)] = named<QRadioButton>(w, "optSub", i);
        connect(optSub[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this] {
            setSubtitleGroup(false);
            focusToHidden();
        });
        col->addWidget(optSub[static_cast<size_t>(i)]);
    }
    col->addLayout(buildSubtitleFileRow(w));
    col->addLayout(buildSubtitleGrid(w));
    cmdSubPlay = named<StyleButton>(w, "cmdSubPlay");
    cmdSubPlay->setButtonType(2);
    cmdSubPlay->setMinimumHeight(28);
    connect(cmdSubPlay, &StyleButton::Click, this, &frmOptions::subtitlePlayClick);
    auto* play = new QHBoxLayout;
    play->addWidget(cmdSubPlay);
    play->addStretch(1);
    col->addLayout(play);
    col->addStretch(1);
    return w;
}

// Trial play: the preview starts again where it was, now with the subtitle settings.
void frmOptions::subtitlePlayClick()
{
    const float at = previewRunning() ? previewPosition() : imgSliderBG->position();
    stopPreview();
    if (auto f = checkSubtitleFile(currentOptions(), ctx_.job, ctx_.lang)) {
        showFailure(*f);
        return;
    }
    previewStarted(preview_->play(at));
}

void frmOptions::captionsSubtitle()
{
    const LangText& L = ctx_.lang;
    for (int i = 0; i < 2; ++i) {
        optSub[static_cast<size_t>(i)]->setText(msgText(L, i == 0 ? Msg::NoSubtitlesOption : Msg::UseSubtitleFile));
        optSub[static_cast<size_t>(i)]->setToolTip(msgText(L, Msg::SubtitleNeedsFile));
    }
    txtSubFile->setToolTip(msgText(L, Msg::SubtitleNeedsFile));
    mbSubFIle->setToolTip(msgText(L, Msg::SubtitleBrowseTip));
    lblSubSizeStr->setText(msgText(L, Msg::SubtitleFontSize));
    lblSubPosHgtStr->setText(msgText(L, Msg::SubtitlePosition));
    lblSubPosHgt2Str->setText(msgText(L, Msg::PercentOfHeight));
    lblSubOutlineStr->setText(msgText(L, Msg::SubtitleOutline));
    lblSubBlurStr->setText(msgText(L, Msg::SubtitleBlur));
    lblSubDelayStr->setText(msgText(L, Msg::SubtitleDelay));
    lblSubFontStr->setText(msgText(L, Msg::SetSubtitleFont));
    lblSubcpStr->setText(msgText(L, Msg::SetSubtitleEncoding));
    setButtonCaption(cmdSubPlay, msgText(L, Msg::ApplyToPlayback));
    cmdSubPlay->setToolTip(msgText(L, Msg::SubtitleApplyTip));
    const std::pair<QLineEdit*, Msg> tips[] = {{txtSubDelay, Msg::SubtitleDelayTip},
                                               {txtSubSize, Msg::SubtitleFontSizeTip},
                                               {txtSubPosHgt, Msg::SubtitlePositionTip},
                                               {txtSubOutline, Msg::SubtitleOutlineTip},
                                               {txtSubBlur, Msg::SubtitleBlurTip}};
    for (const auto& [box, message] : tips) box->setToolTip(msgText(L, message));
}

} // namespace qorvid
