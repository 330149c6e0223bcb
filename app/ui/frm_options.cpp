// The options window: its frame (tab strip, masks, OK and Cancel), showing and hiding, the
// snapshot for Cancel, the enable states and the key filters of the number boxes.
#include "app/ui/frm_options.h"

#include "app/app_info.h"
#include "app/ui/frm_options_parts.h"
#include "app/ui/main_context.h"
#include "controls/style_button.h"
#include "controls/zevra_tab.h"
#include "media/format_catalog.h"
#include "options/option_presets.h"
#include "app/paths.h"
#include "app/ui/video_surface.h"
#include "player/preview_player.h"
#include "util/drive_type.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qorvid {

using namespace options_ui;

namespace {

// The tab captions are properties of the window, one set per language.
QString tabCaptions(const std::string& code)
{
    if (code == "tw") return QString::fromUtf8("基本≡畫面≡聲音≡色彩≡字幕");
    if (code == "gb") return QString::fromUtf8("基本≡画面≡声音≡色彩≡字幕");
    return QString::fromUtf8("General≡Picture≡Sound≡Colour≡Subtitles");
}

StyleButton* commandButton(QWidget* parent, const char* name, int index)
{
    auto* b = flatButton(parent, name, index, QColor(226, 232, 240), QColor(236, 242, 250));
    b->setMinimumSize(96, 30);
    return b;
}

} // namespace

frmOptions::frmOptions(MainContext& ctx) : QWidget(nullptr, Qt::Window), ctx_(ctx)
{
    setObjectName("frmOptions");
    setWindowTitle(QString::fromUtf8(kProductName.data(), static_cast<qsizetype>(kProductName.size())));
    auto* root = new QVBoxLayout(this);
    tabMn = new ZevraTab(this);
    tabMn->setObjectName("tabMn");
    tabMn->setTabPictureBox("picOptPage");
    tabMn->setTabs(kOptionsPageCount);
    tabMn->setTabsPerRow(kOptionsPageCount);
    connect(tabMn, &ZevraTab::MissingPages, this, [this](const QString& t) { ctx_.boxes.showMessage(ss(t)); });
    auto* body = new QHBoxLayout;
    body->addWidget(tabMn, 1);
    root->addLayout(body, 1);

    // Built in page order (a braced list runs left to right). Not an array of member-function
    // pointers: GCC 12's bounds sanitizer reports a false index on one.
    QWidget* const pages[] = {buildGeneralPage(), buildPicturePage(), buildSoundPage(), buildColorPage(),
                              buildSubtitlePage()};
    for (int i = 0; i < kOptionsPageCount; ++i) maskedPage(i, pages[i]);
    body->addWidget(buildPreviewPanel(), 0, Qt::AlignTop);

    lblNote = named<QLabel>(this, "lblNote");
    lblNote->setWordWrap(true);
    root->addWidget(lblNote);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        cmdOkCancel[static_cast<size_t>(i)] = commandButton(this, "cmdOkCancel", i);
        buttons->addWidget(cmdOkCancel[static_cast<size_t>(i)]);
    }
    connect(cmdOkCancel[0], &StyleButton::Click, this, &frmOptions::okClick);
    connect(cmdOkCancel[1], &StyleButton::Click, this, &frmOptions::cancelClick);
    root->addLayout(buttons);
    // Lists and options hand their focus to this hidden button, so that none keeps a caret.
    cmdFocus = named<StyleButton>(this, "cmdFocus");
    cmdFocus->setFocusPolicy(Qt::StrongFocus);
    cmdFocus->setFixedSize(1, 1);
    cmdFocus->move(-10, -10);

    registerHints();
    applyLanguage();
    tabMn->setTabNow(0);
}

frmOptions::~frmOptions()
{
    stopPreview();
}

QWidget* frmOptions::maskedPage(int index, QWidget* content)
{
    auto* page = named<QWidget>(this, "picOptPage", index);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(content, 0, 0);
    auto* mask = named<QWidget>(page, "picTabMask", index);
    mask->setAutoFillBackground(true);
    QPalette p = mask->palette();
    p.setColor(QPalette::Window, QColor(236, 236, 236));
    mask->setPalette(p);
    auto* maskLayout = new QVBoxLayout(mask);
    auto* msg = named<QLabel>(mask, "lblTabMaskMsg", index);
    msg->setAlignment(Qt::AlignCenter);
    msg->setWordWrap(true);
    maskLayout->addWidget(msg);
    grid->addWidget(mask, 0, 0);
    mask->hide();
    picTabMask[static_cast<size_t>(index)] = mask;
    lblTabMaskMsg[static_cast<size_t>(index)] = msg;
    pageContent_[static_cast<size_t>(index)] = content;
    return page;
}

void frmOptions::applyLanguage()
{
    const LangText& L = ctx_.lang;
    const ConversionOptions now = currentOptions();
    const QString all = tabCaptions(L.code());
    const QStringList parts = all.split(ZevraTab::kSeparator);
    for (int i = 0; i < parts.size(); ++i) tabMn->setTabCaption(i, parts[i]);
    setButtonCaption(cmdOkCancel[0], msgText(L, Msg::Ok));
    setButtonCaption(cmdOkCancel[1], msgText(L, Msg::Cancel));
    captionsGeneral();
    captionsPicture();
    captionsSound();
    captionsSubtitle();
    captionsPreview();
    showControls(now);
}

void frmOptions::loadFromJob()
{
    // Another source: the preview of the last one ends, its crop rectangle means nothing now.
    stopPreview();
    closeBigScreen();
    picPlayer->hide();
    picPlayer->setCropRect({});
    base_.hasCrop = false;
    preview_->setSource(ctx_.job.srcLength, folderToEnter(ctx_.labels.input, homeFolder(), isUsableDrive));
    fitPicture();
    fillLists();
    showControls(ctx_.options);
}

void frmOptions::showWindow(QWidget* mainWindow)
{
    main_ = mainWindow;
    snapshot_ = currentOptions();
    // Each adjuster keeps its value for Cancel in the tag of its minus button.
    for (int a = kBrightness; a <= kVolume; ++a)
        adjusters_[static_cast<size_t>(a)].img[0]->setProperty("Tag", adjusters_[static_cast<size_t>(a)].value);
    lblNote->clear();
    if (main_) main_->setEnabled(false);
    // Boxes and dialogs open over this window while the main window is disabled.
    ctx_.boxes.owner = this;
    ctx_.dialog.owner = this;
    show();
    raise();
    activateWindow();
    focusToHidden();
}

void frmOptions::cancelClick()
{
    showControls(snapshot_);
    closeWindow(false);
}

void frmOptions::closeWindow(bool accepted)
{
    stopPreview();
    closeBigScreen();
    hide();
    // The boxes that the job keeps follow the job again.
    showControls(ctx_.options);
    const JobState& job = ctx_.job;
    if (!job.fpsText.empty()) cboFps->setEditText(qs(job.fpsText));
    if (!job.videoBitrateText.empty()) cboVideoBitrate->setEditText(qs(job.videoBitrateText));
    if (!job.audioBitrateText.empty()) cboAudioBitrate->setEditText(qs(job.audioBitrateText));
    ctx_.boxes.owner = main_;
    ctx_.dialog.owner = main_;
    if (main_) main_->setEnabled(true);
    emit closed(accepted);
}

void frmOptions::closeEvent(QCloseEvent* event)
{
    // The window's own close box is Cancel; the window stays loaded.
    event->ignore();
    if (isVisible()) cancelClick();
}

void frmOptions::refreshMasks()
{
    const ConversionOptions o = currentOptions();
    const LangText& L = ctx_.lang;
    const TargetKind kind = ctx_.job.targetKind;
    std::string reason = L[Msg::SetTargetFormat] + o.formatCaption;
    if (isQuickOperation(kind) || kind == TargetKind::AudIsMp3) reason += "\r\n" + L[Msg::VideoUnchanged];
    for (size_t i = 0; i < picTabMask.size(); ++i) {
        bool masked = base_.pageMasked[i];
        if (i == kPageSubtitle && kind != TargetKind::None) masked = masked || !subtitlesAllowed(o, ctx_.job);
        lblTabMaskMsg[i]->setText(qs(reason));
        picTabMask[i]->setVisible(masked);
        pageContent_[i]->setEnabled(!masked);
        if (masked) picTabMask[i]->raise();
    }
}

void frmOptions::refreshEnables()
{
    const OptionEnables e = enablesFor(currentOptions(), ctx_.job);
    auto both = [](bool on, std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets) w->setEnabled(on);
    };
    both(e.fps, {lblFpsStr, cboFps});
    both(e.videoBitrate, {lblVideoBitrateStr, cboVideoBitrate});
    both(e.audioBitrate, {lblAudioBitrateStr, cboAudioBitrate});
    both(e.audioSample, {lblAudioSampleStr, cboAudioSample});
    both(e.soundOnOff, {optAudio[0], optAudio[1]});
    both(e.audioDelay, {lblAudioDelayStr, txtAudioDelay});
    both(e.volnorm, {chkAudioVolnorm});
    both(e.size, {lblSizeStr, cboSize});
    txtSize[0]->setEnabled(e.widthBox);
    txtSize[1]->setEnabled(e.heightBox);
    both(e.cropOrder, {lblCropStr, optScaleCrop[0], optScaleCrop[1]});
    both(e.borders, {lblExpandStr, lblExpand2Str[0], lblExpand2Str[1], lblExpand2Str[2], lblExpand2Str[3], txtExpand[0],
                     txtExpand[1], txtExpand[2], txtExpand[3]});
    both(e.rotate, {lblRotateStr, cboRotate, lblRotateStr2});
    // The repair takes the whole video: no marks.
    const bool marks = ctx_.job.targetKind != TargetKind::OnlyFix;
    both(marks, {txtScope[0], txtScope[1], lblMark[0], lblMark[1], lblMarkDel});
    for (int a = kBrightness; a <= kVolume; ++a) {
        AdjusterControls& c = adjusters_[static_cast<size_t>(a)];
        const bool on = a == kVolume ? e.volume : e.color;
        both(on, {c.lbl, c.img[0], c.img[1], c.img[2]});
    }
    both(e.subtitleControls, {txtSubFile, mbSubFIle, lblSubFontStr, cboSubFont, lblSubcpStr, cboSubcp, lblSubSizeStr,
                              txtSubSize, lblSubPosHgtStr, txtSubPosHgt, lblSubPosHgt2Str, lblSubOutlineStr,
                              txtSubOutline, lblSubBlurStr, txtSubBlur, lblSubDelayStr, txtSubDelay});
}

void frmOptions::setAudioGroup(bool reset)
{
    if (reset) txtAudioDelay->setText("0");
    refreshEnables();
}

void frmOptions::setSubtitleGroup(bool reset)
{
    if (reset) {
        ConversionOptions o = currentOptions();
        resetSubtitleGroup(o, fonts_.defaultFile());
        selectSubtitleFont(o.subFontFile);
        showNumberBoxes(o);
    }
    refreshEnables();
    refreshMasks();
}

void frmOptions::focusToHidden() { cmdFocus->setFocus(); }

QComboBox* frmOptions::numberList(QWidget* page, const char* name, bool ConversionOptions::*fromSource)
{
    auto* list = named<QComboBox>(page, name);
    list->setEditable(true);
    list->setCompleter(nullptr); // a typed number stays as typed
    list->setMinimumContentsLength(16);
    connect(list, qOverload<int>(&QComboBox::activated), this, &frmOptions::focusToHidden);
    if (fromSource) {
        auto clear = [this, fromSource] { base_.*fromSource = false; };
        connect(list->lineEdit(), &QLineEdit::textEdited, this, clear);
        connect(list, qOverload<int>(&QComboBox::activated), this, clear);
    }
    return list;
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) showHint(watched);
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int filter = watched->property(kKeyFilter).toInt();
    if (filter == 0) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (watched == txtSize[0] || watched == txtSize[1]) SetSizeSetting();
        return true;
    }
    const QString text = key->text();
    // Keys without a character (arrows, Delete, Tab) move or edit as usual.
    if (text.isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Delete)
        return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    for (QChar c : text) {
        const bool ok = c.isDigit() || (filter == kSignedDecimal && (c == '-' || c == '.'));
        if (!ok || c.unicode() > 127) return true; // discarded
    }
    return false;
}

} // namespace qorvid
