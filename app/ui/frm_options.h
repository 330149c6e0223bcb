#pragma once
#include "options/conversion_options.h"
#include "options/option_checks.h"
#include "options/font_list.h"

#include <QWidget>

#include <QHash>
#include <QRect>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QRadioButton;
class QSocketNotifier;
class QTimer;
class StyleButton;
class ZevraTab;

namespace qorvid {

struct MainContext;
class BigScreen;
class PreviewPlayer;
class PreviewSlider;
class SpectrumStrip;
class VideoSurface;
struct PreviewCommand;
struct PreviewNews;

// The options window: the one editor of the current job's ConversionOptions. It is made once
// and shown and hidden; while shown, the main window is disabled. Control arrays are named
// with their index after an underscore (txtSize_0, txtSize_1, imgVolume_2, ...).
class frmOptions final : public QWidget {
    Q_OBJECT
public:
    // The adjusters, numbered as setLblColorAndVolPara numbers them.
    enum Adjuster { kBrightness = 1, kContrast = 2, kHue = 3, kSaturation = 4, kVolume = 5 };

    explicit frmOptions(MainContext& ctx);
    ~frmOptions() override;

    // ---- called by the main window ----
    // Captions, tool tips and lists of the current language.
    void applyLanguage();
    // The controls show the job's options (after a source was chosen or a language switch).
    void loadFromJob();
    // Snapshot for Cancel, the main window disabled, the window shown.
    void showWindow(QWidget* mainWindow);
    // The chosen cboSize item applied to the width and height boxes.
    void SetSizeSetting();
    // Display texts and tool tips of all adjusters, or of one (Adjuster).
    void setLblColorAndVolPara(bool all, int which = 0);
    void setAudioGroup(bool reset);
    void setSubtitleGroup(bool reset);

    // Stops the preview (before another source, quitting, OK and Cancel).
    void stopPreview();
    // The preview's buttons, as a click on them does.
    void playClick();
    void pauseClick();
    void markClick(int index);
    void screenshotClick();
    void continuousClick();
    void bigScreenClick();
    bool previewRunning() const;
    bool previewPaused() const;
    float previewPosition() const;

    // The record as the controls hold it now.
    ConversionOptions currentOptions() const;
    int adjusterValue(int which) const { return adjusters_[static_cast<size_t>(which)].value; }

    // ---- the window's own buttons ----
    void okClick();
    void cancelClick();
    // button 0 minus, 1 plus, 2 reset.
    void adjust(int which, int button);

signals:
    // The window was hidden after OK (accepted) or Cancel.
    void closed(bool accepted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct AdjusterControls {
        std::array<StyleButton*, 3> img{};
        QLabel* lbl = nullptr;
        int value = 0;
    };

    // Pages, one builder each (frm_options_*.cpp).
    QWidget* buildGeneralPage();
    QWidget* buildPicturePage();
    QWidget* buildSoundPage();
    QWidget* buildColorPage();
    QWidget* buildSubtitlePage();
    QLayout* buildSubtitleFileRow(QWidget* page);
    QLayout* buildSubtitleGrid(QWidget* page);
    // An editable list of numbers (frame rate, bit rates) on the page.
    // fromSource: the record's "same as the source" flag of the box, which typing or choosing clears.
    QComboBox* numberList(QWidget* page, const char* name, bool ConversionOptions::*fromSource = nullptr);
    QWidget* adjusterRow(int which, const char* name);
    QWidget* maskedPage(int index, QWidget* content);

    void captionsGeneral();
    void captionsPicture();
    void captionsSound();
    void captionsSubtitle();
    void fillLists();
    void selectSubtitleFont(const std::string& file);
    void subtitlePlayClick();
    void showControls(const ConversionOptions& o);
    void showNumberBoxes(const ConversionOptions& o);
    void refreshEnables();
    void refreshMasks();
    void closeWindow(bool accepted);
    void showFailure(const CheckFailure& failure);
    QLineEdit* fieldOf(OptionField field) const;
    void focusToHidden();

    // Marks and typed times.
    bool checkScopeBoxes(int leftBox);
    void resetScopeBox(int box);
    void refreshScopeNote();
    void clearMarks();

    // The preview (frm_options_preview.cpp).
    QWidget* buildPreviewPanel();
    void captionsPreview();
    void registerHints();
    void showHint(QObject* control);
    PreviewCommand previewCommandFor(float startSeconds);
    void previewStarted(bool started);
    void readPreview();
    void showPreviewNews(const PreviewNews& news);
    void previewStopped();
    void previewPictureChanged();
    void fitPicture();
    void cropDrawn(const QRect& rect);
    void refreshVolumeLabel();
    void closeBigScreen();

    MainContext& ctx_;
    QWidget* main_ = nullptr;
    FontList fonts_;             // cboSubFont's items and their files
    ConversionOptions base_;     // what no control holds: crop rectangle, masks, font file, lists
    ConversionOptions snapshot_; // the controls when the window was shown
    std::array<std::optional<float>, 2> marks_{};
    bool checkingScope_ = false;

    ZevraTab* tabMn = nullptr;
    std::array<QWidget*, kOptionsPageCount> picTabMask{};
    std::array<QLabel*, kOptionsPageCount> lblTabMaskMsg{};
    std::array<QWidget*, kOptionsPageCount> pageContent_{};
    std::array<StyleButton*, 2> cmdOkCancel{};
    StyleButton* cmdFocus = nullptr;
    QLabel* lblNote = nullptr;

    // Page 0: target, frame rate, marked range.
    QLabel* lblFormatStr = nullptr;
    QLabel* lblFpsStr = nullptr;
    QComboBox* cboFps = nullptr;
    QLabel* lblScopeStr = nullptr;
    std::array<QLineEdit*, 2> txtScope{};
    std::array<StyleButton*, 2> lblMark{};
    StyleButton* lblMarkDel = nullptr;
    QLabel* lblScopeNote = nullptr;

    // Page 1: video bit rate, size, crop, borders, rotation.
    QLabel* lblVideoBitrateStr = nullptr;
    QComboBox* cboVideoBitrate = nullptr;
    QLabel* lblSizeStr = nullptr;
    QComboBox* cboSize = nullptr;
    std::array<QLineEdit*, 2> txtSize{};
    QLabel* lblCropStr = nullptr;
    std::array<QRadioButton*, 2> optScaleCrop{};
    QLabel* lblExpandStr = nullptr;
    std::array<QLabel*, 4> lblExpand2Str{};
    std::array<QLineEdit*, 4> txtExpand{};
    QLabel* lblRotateStr = nullptr;
    QComboBox* cboRotate = nullptr;
    QLabel* lblRotateStr2 = nullptr;

    // Page 2: sound.
    std::array<QRadioButton*, 2> optAudio{};
    QLabel* lblAudioBitrateStr = nullptr;
    QComboBox* cboAudioBitrate = nullptr;
    QLabel* lblAudioSampleStr = nullptr;
    QComboBox* cboAudioSample = nullptr;
    QLabel* lblAudioDelayStr = nullptr;
    QLineEdit* txtAudioDelay = nullptr;
    QCheckBox* chkAudioVolnorm = nullptr;

    // Pages 2 and 3: the adjusters, indexed by Adjuster.
    std::array<AdjusterControls, 6> adjusters_{};
    SpectrumStrip* picCrSpec = nullptr;

    // Page 4: subtitles.
    std::array<QRadioButton*, 2> optSub{};
    QLineEdit* txtSubFile = nullptr;
    StyleButton* mbSubFIle = nullptr;
    QLabel* lblSubFontStr = nullptr;
    QComboBox* cboSubFont = nullptr;
    QLabel* lblSubcpStr = nullptr;
    QComboBox* cboSubcp = nullptr;
    QLabel* lblSubSizeStr = nullptr;
    QLineEdit* txtSubSize = nullptr;
    QLabel* lblSubPosHgtStr = nullptr;
    QLineEdit* txtSubPosHgt = nullptr;
    QLabel* lblSubPosHgt2Str = nullptr;
    QLabel* lblSubOutlineStr = nullptr;
    QLineEdit* txtSubOutline = nullptr;
    QLabel* lblSubBlurStr = nullptr;
    QLineEdit* txtSubBlur = nullptr;
    QLabel* lblSubDelayStr = nullptr;
    QLineEdit* txtSubDelay = nullptr;
    StyleButton* cmdSubPlay = nullptr;

    // The preview.
    std::unique_ptr<PreviewPlayer> preview_;
    QSocketNotifier* previewReader_ = nullptr;
    QTimer* tmrSpecCheck = nullptr;
    QWidget* picPlayerBox = nullptr;
    VideoSurface* picPlayer = nullptr;
    VideoSurface* bigScreen_ = nullptr; // the player window's picture while it shows the preview
    PreviewSlider* imgSliderBG = nullptr;
    QLabel* lblCurTime = nullptr;
    QLabel* lblTotalTime = nullptr;
    QLabel* lblPlayerNote = nullptr;
    StyleButton* lblPlay = nullptr;
    StyleButton* lblPause = nullptr;
    StyleButton* lblStop = nullptr;
    StyleButton* lblBackward = nullptr;
    StyleButton* lblForward = nullptr;
    std::array<StyleButton*, 2> lblVol{};
    QLabel* lblVolPlay = nullptr;
    StyleButton* lblSrceenshot = nullptr;
    StyleButton* lblCut2Pic = nullptr;
    StyleButton* lbl2BigScreen = nullptr;
    QHash<QObject*, Msg> hints_; // control -> its hover hint
    QString shownTime_;
};

} // namespace qorvid
