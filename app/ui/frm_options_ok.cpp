// The options window's record: the controls from and into ConversionOptions, and OK with
// the core's checks and fragments.
#include "app/ui/frm_options.h"

#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "controls/style_button.h"
#include "controls/zevra_tab.h"
#include "options/option_args.h"
#include "options/option_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace qorvid {

using namespace options_ui;

namespace {

void setItems(QComboBox* box, const std::vector<std::string>& items)
{
    box->clear();
    for (const auto& i : items) box->addItem(qs(i));
}

std::vector<std::string> itemsOf(const QComboBox* box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(ss(box->itemText(i)));
    return items;
}

// An editable list shows its text; an item with the same text is the selected one.
void showText(QComboBox* box, const std::string& text, int index = -1)
{
    const QString t = qs(text);
    if (index < 0 || index >= box->count() || box->itemText(index) != t) index = box->findText(t);
    box->setCurrentIndex(index);
    box->setEditText(t);
}

void selectText(QComboBox* box, const std::string& text)
{
    int i = box->findText(qs(text));
    if (i < 0 && !text.empty()) {
        box->addItem(qs(text));
        i = box->count() - 1;
    }
    box->setCurrentIndex(std::max(0, i));
}

} // namespace

void frmOptions::fillLists()
{
    const LangText& L = ctx_.lang;
    setItems(cboFps, base_.cboFpsList.empty() ? fillFpsList(L, false) : base_.cboFpsList);
    setItems(cboVideoBitrate,
             base_.cboVideoBitrateList.empty() ? fillVideoBitrateList(L, false) : base_.cboVideoBitrateList);
    setItems(cboAudioBitrate, audioBitrateList(L));
    setItems(cboAudioSample, audioSampleList());
    setItems(cboSize, fillSizeList(L));
    setItems(cboRotate, rotateList(L));
    setItems(cboSubcp, subtitleCodePageList(L));
    fonts_ = fillFontList(systemFonts(), L);
    setItems(cboSubFont, fonts_.items);
}

// The font of the options, else the language's default; nothing when no font is installed.
void frmOptions::selectSubtitleFont(const std::string& file)
{
    const int i = fonts_.indexOfFile(file);
    cboSubFont->setCurrentIndex(i >= 0 ? i : fonts_.defaultIndex);
}

void frmOptions::showControls(const ConversionOptions& o)
{
    base_ = o;
    fillLists();
    showText(cboFps, o.cboFps, o.cboFpsIndex);
    showText(cboVideoBitrate, o.cboVideoBitrate);
    showText(cboAudioBitrate, o.cboAudioBitrate);
    cboSize->setCurrentIndex(std::clamp(o.cboSizeIndex, 0, cboSize->count() - 1));
    for (size_t i = 0; i < 2; ++i) txtSize[i]->setText(qs(o.txtSize[i]));
    optScaleCrop[o.optScaleCrop == 1 ? 1 : 0]->setChecked(true);
    cboRotate->setCurrentIndex(std::clamp(o.cboRotate, 0, cboRotate->count() - 1));
    optAudio[o.optAudio == 1 ? 1 : 0]->setChecked(true);
    selectText(cboAudioSample, o.cboAudioSample);
    chkAudioVolnorm->setChecked(o.chkAudioVolnorm);
    const int values[] = {0, o.brightness, o.contrast, o.hue, o.saturation, o.volume};
    for (int a = kBrightness; a <= kVolume; ++a) adjusters_[static_cast<size_t>(a)].value = values[a];
    optSub[o.optSub == 1 ? 1 : 0]->setChecked(true);
    txtSubFile->setText(qs(o.txtSubFile));
    selectText(cboSubcp, o.cboSubcp);
    selectSubtitleFont(o.subFontFile);
    showNumberBoxes(o);
    for (size_t i = 0; i < 2; ++i) {
        txtScope[i]->setText(qs(o.txtScope[i]));
        lblMark[i]->setProperty("Tag", o.lblMark[i] ? QString::number(*o.lblMark[i]) : QString());
    }
    marks_ = o.lblMark;
    captionsGeneral();
    setLblColorAndVolPara(true);
    refreshEnables();
    refreshMasks();
}

void frmOptions::showNumberBoxes(const ConversionOptions& o)
{
    for (size_t i = 0; i < 4; ++i) txtExpand[i]->setText(qs(o.txtExpand[i]));
    txtAudioDelay->setText(qs(o.txtAudioDelay));
    txtSubSize->setText(qs(o.txtSubSize));
    txtSubPosHgt->setText(qs(o.txtSubPosHgt));
    txtSubOutline->setText(qs(o.txtSubOutline));
    txtSubBlur->setText(qs(o.txtSubBlur));
    txtSubDelay->setText(qs(o.txtSubDelay));
}

ConversionOptions frmOptions::currentOptions() const
{
    ConversionOptions o = base_;
    o.cboFpsList = itemsOf(cboFps);
    o.cboFps = ss(cboFps->currentText());
    const int fi = cboFps->currentIndex();
    o.cboFpsIndex = fi >= 0 && cboFps->itemText(fi) == cboFps->currentText() ? fi : -1;
    o.cboVideoBitrateList = itemsOf(cboVideoBitrate);
    o.cboVideoBitrate = ss(cboVideoBitrate->currentText());
    o.cboAudioBitrate = ss(cboAudioBitrate->currentText());
    o.cboSizeIndex = std::max(0, cboSize->currentIndex());
    o.cboSize = ss(cboSize->currentText());
    for (size_t i = 0; i < 2; ++i) o.txtSize[i] = ss(txtSize[i]->text());
    o.optScaleCrop = optScaleCrop[1]->isChecked() ? 1 : 0;
    for (size_t i = 0; i < 4; ++i) o.txtExpand[i] = ss(txtExpand[i]->text());
    o.cboRotate = std::max(0, cboRotate->currentIndex());
    o.optAudio = optAudio[1]->isChecked() ? 1 : 0;
    o.cboAudioSample = ss(cboAudioSample->currentText());
    o.txtAudioDelay = ss(txtAudioDelay->text());
    o.chkAudioVolnorm = chkAudioVolnorm->isChecked();
    o.brightness = adjusters_[kBrightness].value;
    o.contrast = adjusters_[kContrast].value;
    o.hue = adjusters_[kHue].value;
    o.saturation = adjusters_[kSaturation].value;
    o.volume = adjusters_[kVolume].value;
    o.optSub = optSub[1]->isChecked() ? 1 : 0;
    o.txtSubFile = ss(txtSubFile->text());
    o.cboSubcp = ss(cboSubcp->currentText());
    const int font = cboSubFont->currentIndex();
    o.subFontFile = font >= 0 && font < static_cast<int>(fonts_.files.size()) ? fonts_.files[static_cast<size_t>(font)] : "";
    o.txtSubSize = ss(txtSubSize->text());
    o.txtSubPosHgt = ss(txtSubPosHgt->text());
    o.txtSubOutline = ss(txtSubOutline->text());
    o.txtSubBlur = ss(txtSubBlur->text());
    o.txtSubDelay = ss(txtSubDelay->text());
    for (size_t i = 0; i < 2; ++i) o.txtScope[i] = ss(txtScope[i]->text());
    o.lblMark = marks_;
    return o;
}

void frmOptions::okClick()
{
    lblNote->clear();
    // A typed time is checked as leaving its box would check it.
    if ((txtScope[0]->isModified() || txtScope[1]->isModified()) && !checkScopeBoxes(-1)) return;
    ConversionOptions o = currentOptions();
    const OkOutcome out = applyOptions(o, ctx_.job, ctx_.lang, ctx_.boxes);
    showNumberBoxes(o); // normalised, also when a check fails
    if (!out.ok()) {
        showFailure(*out.failure);
        return;
    }
    ctx_.options = o;
    ctx_.summary = out.summary;
    closeWindow(true);
}

void frmOptions::showFailure(const CheckFailure& f)
{
    tabMn->setTabNow(f.page);
    if (QLineEdit* field = fieldOf(f.field)) {
        field->setFocus();
        field->selectAll();
    }
    ctx_.boxes.showMessage(f.text);
}

QLineEdit* frmOptions::fieldOf(OptionField field) const
{
    switch (field) {
    case OptionField::Fps: return cboFps->lineEdit();
    case OptionField::VideoBitrate: return cboVideoBitrate->lineEdit();
    case OptionField::AudioBitrate: return cboAudioBitrate->lineEdit();
    case OptionField::Width: return txtSize[0];
    case OptionField::Height: return txtSize[1];
    case OptionField::ExpandTop: return txtExpand[0];
    case OptionField::ExpandBottom: return txtExpand[1];
    case OptionField::SubFile: return txtSubFile;
    }
    return nullptr;
}

} // namespace qorvid
