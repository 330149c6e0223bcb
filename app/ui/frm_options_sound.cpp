// Pages 2 and 3 of the options window: sound, and the colour adjusters; the adjusters'
// buttons and display texts.
#include "app/ui/frm_options.h"

#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "controls/style_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qorvid {

using namespace options_ui;

// The colour-spectrum strip under the hue adjuster: its colours move with the hue value.
class SpectrumStrip final : public QWidget {
public:
    explicit SpectrumStrip(QWidget* parent) : QWidget(parent) { setMinimumHeight(16); }
    void setShift(int hue)
    {
        shift_ = hue;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        for (int i = 0; i <= 6; ++i) {
            const int h = ((i * 60 + shift_ * 18 / 10) % 360 + 360) % 360;
            g.setColorAt(i / 6.0, QColor::fromHsv(h, 220, 230));
        }
        p.fillRect(rect(), g);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    int shift_ = 0;
};

namespace {

struct AdjusterTexts {
    Msg name;    // the adjuster's name
    Msg reset;   // tool tip of the reset button
    Msg change;  // tool tip of minus and plus
};
// Indexed by frmOptions::Adjuster.
constexpr AdjusterTexts kAdjusterTexts[] = {
    {Msg::None, Msg::None, Msg::None},
    {Msg::Brightness, Msg::BrightnessReset, Msg::BrightnessChanged},
    {Msg::Contrast, Msg::ContrastReset, Msg::ContrastChanged},
    {Msg::Hue, Msg::HueReset, Msg::HueChanged},
    {Msg::Saturation, Msg::SaturationReset, Msg::SaturationChanged},
    {Msg::Volume, Msg::VolumeReset, Msg::VolumeChanged}};
constexpr int kStep = 2;
constexpr int kLimit = 100;

std::string adjusterText(int which, int value, const LangText& L)
{
    std::string text = L[kAdjusterTexts[which].name] + " = " + (value > 0 ? "+" : "") + std::to_string(value);
    if (which == frmOptions::kHue) return text + " " + L[Msg::Value];
    if (which == frmOptions::kVolume) return text + " " + L[Msg::Decibel];
    return text + " %";
}

} // namespace

QWidget* frmOptions::adjusterRow(int which, const char* name)
{
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    AdjusterControls& c = adjusters_[static_cast<size_t>(which)];
    c.lbl = named<QLabel>(row, QString("lbl") + name);
    c.lbl->setMinimumWidth(c.lbl->fontMetrics().horizontalAdvance("Saturation = +100 %") + 12);
    h->addWidget(c.lbl, 1);
    const char* faces[] = {"-", "+", "0"};
    for (int b = 0; b < 3; ++b) {
        auto* button = named<StyleButton>(row, QString("img") + name, b);
        button->setButtonType(2);
        button->setCaption(faces[b]);
        button->setFixedSize(30, 26);
        connect(button, &StyleButton::Click, this, [this, which, b] { adjust(which, b); });
        c.img[static_cast<size_t>(b)] = button;
        if (b == 2) button->setProperty("Tag", 0); // the reset value
        h->addWidget(button);
    }
    return row;
}

void frmOptions::adjust(int which, int button)
{
    AdjusterControls& c = adjusters_[static_cast<size_t>(which)];
    const int value = button == 2 ? c.img[2]->property("Tag").toInt() : c.value + (button == 0 ? -kStep : kStep);
    c.value = std::clamp(value, -kLimit, kLimit);
    setLblColorAndVolPara(false, which);
    if (which != kVolume) previewPictureChanged();
}

void frmOptions::setLblColorAndVolPara(bool all, int which)
{
    const LangText& L = ctx_.lang;
    for (int a = kBrightness; a <= kVolume; ++a) {
        if (!all && a != which) continue;
        AdjusterControls& c = adjusters_[static_cast<size_t>(a)];
        c.lbl->setText(qs(adjusterText(a, c.value, L)));
        c.img[0]->setToolTip(msgText(L, kAdjusterTexts[a].change));
        c.img[1]->setToolTip(msgText(L, kAdjusterTexts[a].change));
        c.img[2]->setToolTip(msgText(L, kAdjusterTexts[a].reset));
        if (a == kHue) picCrSpec->setShift(c.value);
    }
}

QWidget* frmOptions::buildSoundPage()
{
    auto* w = named<QWidget>(this, "fraSound");
    auto* col = new QVBoxLayout(w);
    for (int i = 0; i < 2; ++i) {
        optAudio[static_cast<size_t>(i)] = named<QRadioButton>(w, "optAudio", i);
        connect(optAudio[static_cast<size_t>(i)], &QRadioButton::clicked, this, [this] {
            setAudioGroup(false);
            focusToHidden();
        });
        col->addWidget(optAudio[static_cast<size_t>(i)]);
    }
    auto* grid = new QGridLayout;
    lblAudioBitrateStr = named<QLabel>(w, "lblAudioBitrateStr");
    cboAudioBitrate = numberList(w, "cboAudioBitrate", &ConversionOptions::audioBitrateFromSource);
    lblAudioSampleStr = named<QLabel>(w, "lblAudioSampleStr");
    cboAudioSample = named<QComboBox>(w, "cboAudioSample");
    connect(cboAudioSample, qOverload<int>(&QComboBox::activated), this, &frmOptions::focusToHidden);
    lblAudioDelayStr = named<QLabel>(w, "lblAudioDelayStr");
    txtAudioDelay = named<QLineEdit>(w, "txtAudioDelay");
    txtAudioDelay->setProperty(kKeyFilter, static_cast<int>(kSignedDecimal));
    txtAudioDelay->installEventFilter(this);
    txtAudioDelay->setMaximumWidth(90);
    QWidget* cells[][2] = {{lblAudioBitrateStr, cboAudioBitrate},
                           {lblAudioSampleStr, cboAudioSample},
                           {lblAudioDelayStr, txtAudioDelay}};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(cells[r][0], r, 0);
        grid->addWidget(cells[r][1], r, 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(1, 1);
    col->addLayout(grid);
    chkAudioVolnorm = named<QCheckBox>(w, "chkAudioVolnorm");
    connect(chkAudioVolnorm, &QCheckBox::clicked, this, &frmOptions::focusToHidden);
    col->addWidget(chkAudioVolnorm);
    col->addSpacing(8);
    col->addWidget(adjusterRow(kVolume, "Volume"));
    col->addStretch(1);
    return w;
}

QWidget* frmOptions::buildColorPage()
{
    auto* w = named<QWidget>(this, "fraColor");
    auto* col = new QVBoxLayout(w);
    col->addWidget(adjusterRow(kBrightness, "Brightness"));
    col->addWidget(adjusterRow(kContrast, "Contrast"));
    col->addWidget(adjusterRow(kHue, "Hue"));
    picCrSpec = new SpectrumStrip(w);
    picCrSpec->setObjectName("picCrSpec");
    col->addWidget(picCrSpec);
    col->addWidget(adjusterRow(kSaturation, "Saturation"));
    col->addStretch(1);
    return w;
}

void frmOptions::captionsSound()
{
    const LangText& L = ctx_.lang;
    for (int i = 0; i < 2; ++i) {
        optAudio[static_cast<size_t>(i)]->setText(msgText(L, i == 0 ? Msg::OutputSound : Msg::NoSoundOutput));
        optAudio[static_cast<size_t>(i)]->setToolTip(msgText(L, Msg::NoSoundTip));
    }
    const bool suffix = !L[Msg::SettingsSuffix].empty() && L[Msg::SettingsSuffix][0] == ' ';
    lblAudioBitrateStr->setText(qs(suffix ? L[Msg::AudioBitrate] : L[Msg::SettingsSuffix] + L[Msg::AudioBitrate]));
    lblAudioSampleStr->setText(msgText(L, Msg::SetSampleRate));
    lblAudioDelayStr->setText(msgText(L, Msg::AudioDelay));
    txtAudioDelay->setToolTip(msgText(L, Msg::AudioDelayTip));
    chkAudioVolnorm->setText(msgText(L, Msg::NormaliseVolume));
    chkAudioVolnorm->setToolTip(msgText(L, Msg::NormaliseTip));
}

} // namespace qorvid
