// The main window's menus and captions: building them from the format catalogue, the
// language switch, and the target-folder menu's state.
#include "app/ui/frm_main.h"
#include "app/ui/frm_player.h"

#include "app/ui/frm_options.h"

#include "app/cpu_note.h"
#include "app/paths.h"
#include "app/ui/progress_picture.h"
#include "controls/style_button.h"
#include "media/format_catalog.h"
#include "options/option_args.h"
#include "options/option_relabel.h"
#include "util/text.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace qorvid {

QAction* frmMain::addItem(QMenu* menu, const QString& name, int index)
{
    QAction* a = menu->addAction(QString());
    a->setObjectName(name);
    a->setProperty("Index", index);
    items_.push_back(a);
    return a;
}

QAction* frmMain::menuItem(const QString& name, int index) const
{
    for (QAction* a : items_)
        if (a->objectName() == name && a->property("Index").toInt() == index) return a;
    return nullptr;
}

QMenu* frmMain::menu(const QString& name) const { return findChild<QMenu*>(name); }

QAction* frmMain::catalogItem(const FormatEntry& entry) const
{
    for (const auto& [e, a] : catalogItems_)
        if (e == &entry) return a;
    return nullptr;
}

namespace {

QMenu* newMenu(QWidget* parent, const char* name)
{
    auto* m = new QMenu(parent);
    m->setObjectName(name);
    return m;
}

} // namespace

void frmMain::buildMenus()
{
    buildSourceMenu();
    buildTargetMenu();
    buildMenuBar();
}

// The source menu: play items, the conversion groups from the catalogue, screenshots.
void frmMain::buildSourceMenu()
{
    mnuSrcType = newMenu(this, "mnuSrcType");
    for (int i = 0; i < 2; ++i)
        connect(addItem(mnuSrcType, "mnuToPlay", i), &QAction::triggered, this, [this, i] { playItem(i); });
    mnuSrcType->addSeparator();
    const struct {
        const char* group;
        std::initializer_list<const char*> arrays;
    } groups[] = {
        {"mnuToEncode", {"mnuSrcIsFileToMpg", "mnuSrcIsFileToWmv", "mnuSrcIsFileToAvi"}},
        {"mnuToEncodeMusic", {"mnuSrcIsFileToSound"}},
        {"mnuToChangeVol", {"mnuSrcIsFileToChangeVol"}},
        {"mnuToCut", {"mnuSrcIsFileToCut"}},
        {"mnuToFix", {"mnuSrcIsFileToFix"}},
    };
    for (const auto& g : groups) {
        QMenu* sub = newMenu(mnuSrcType, g.group);
        mnuSrcType->addMenu(sub);
        bool first = true;
        for (const char* array : g.arrays) {
            if (!first) sub->addSeparator();
            first = false;
            addCatalogItems(sub, array);
        }
    }
    mnuSrcType->addSeparator();
    connect(addItem(mnuSrcType, "mnuToScreenshot", 0), &QAction::triggered, this,
            [this] { ctx_->boxes.showMessage(ctx_->lang[Msg::ScreenshotHowTo]); });
}

// The entries of one menu array, in the catalogue's order.
void frmMain::addCatalogItems(QMenu* sub, const char* array)
{
    int lastIndex = -1;
    for (const FormatEntry& e : formatCatalog()) {
        if (e.menu != array) continue;
        if (lastIndex >= 0 && e.menuIndex > lastIndex + 1) sub->addSeparator(); // index 2 of the MPEG items
        lastIndex = e.menuIndex;
        QAction* a = addItem(sub, array, e.menuIndex);
        catalogItems_.push_back({&e, a});
        connect(a, &QAction::triggered, this, [this, &e] { addSourceFrom(e); });
    }
}

void frmMain::buildTargetMenu()
{
    mnuTarget = newMenu(this, "mnuTarget");
    connect(addItem(mnuTarget, "mnuToPlay2", 0), &QAction::triggered, this, [this] { playItem(2); });
    connect(addItem(mnuTarget, "mnuTargetFile", 0), &QAction::triggered, this, &frmMain::mnuTargetFileClick);
    QMenu* dir = newMenu(mnuTarget, "mnuTargetDir");
    mnuTarget->addMenu(dir);
    for (int i = 0; i < 2; ++i) {
        QAction* a = addItem(dir, "mnuTargetDefDir", i);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { mnuTargetDefDirClick(i); });
    }
}

// The menu bar: language and help.
void frmMain::buildMenuBar()
{
    mnuLanguage = newMenu(menuBar(), "mnuLanguage");
    mnuLanguage->setTitle("Language");
    menuBar()->addMenu(mnuLanguage);
    const struct {
        const char* name;
        const char* code;
        const char* caption;
    } languages[] = {{"mnuLngTW", "tw", "繁體中文"}, {"mnuLngGB", "gb", "简体中文"}, {"mnuLngEN", "en", "English"}};
    for (const auto& l : languages) {
        QAction* a = addItem(mnuLanguage, l.name, 0);
        a->setText(QString::fromUtf8(l.caption));
        a->setCheckable(true);
        const std::string code = l.code;
        connect(a, &QAction::triggered, this, [this, code] { applyLanguage(code); });
    }
    mnuMainHelp = newMenu(menuBar(), "mnuMainHelp");
    mnuMainHelp->setTitle("?");
    menuBar()->addMenu(mnuMainHelp);
    connect(addItem(mnuMainHelp, "mnuHelp", 0), &QAction::triggered, this, &frmMain::openHelp);
    mnuMainHelp->addSeparator();
    connect(addItem(mnuMainHelp, "mnuMoney", 0), &QAction::triggered, this, &frmMain::showMoney);
    connect(addItem(mnuMainHelp, "mnuAbout", 0), &QAction::triggered, this, &frmMain::showAbout);
}

std::string frmMain::language() const { return mnuLanguage->property("Tag").toString().toStdString(); }

void frmMain::applyLanguage(const std::string& code)
{
    const LangText before = ctx_->lang;
    ctx_->lang.load(code);
    relabelJob(before);
    options_->applyLanguage();
    options_->loadFromJob();
    for (const char* name : {"mnuLngTW", "mnuLngGB", "mnuLngEN"}) menuItem(name)->setChecked(false);
    mnuLanguage->setProperty("Tag", QString::fromStdString(code));
    if (code == "en") menuItem("mnuLngEN")->setChecked(true);
    if (code == "gb") menuItem("mnuLngGB")->setChecked(true);
    if (code == "tw") {
        menuItem("mnuLngTW")->setChecked(true);
        const QFont verdana("Verdana", 9);
        picProgress->setFont(verdana);
        picEncodeEsti->setFont(verdana);
    }
    applyCaptions();
    refreshVideoInfo();
    if (player_) player_->ChangeLanguage();
}

void frmMain::relabelJob(const LangText& before)
{
    qorvid::relabelJob(ctx_->options, ctx_->job, before, ctx_->lang);
    if (!ctx_->summary.empty()) {
        ctx_->summary = buildSummary(ctx_->options, ctx_->job, ctx_->lang);
        lblEncodeNote->setText(QString::fromStdString(toUnixLines(ctx_->summary)));
    }
    if (!lastCpuLoad_.empty()) ctx_->display.setCpuNote(cpuNoteText(ctx_->lang, lastCpuLoad_));
    else if (meter_) ctx_->display.resetCpuNote();
    if (!jobRunning()) return;
    ctx_->display.relabel();
    if (lblEncodeNoteCheck->isVisibleTo(lblEncodeNoteCheck->parentWidget())) lblEncodeNoteCheck->setText(text(Msg::CheckingKeyFrames));
}

void frmMain::refreshJobWords()
{
    const TargetKind kind = ctx_->job.targetKind;
    ActionWords words = actionWordsFor(kind, ctx_->lang);
    // Before any source the words of a conversion stand.
    const std::string settings = kind == TargetKind::None ? ctx_->lang[Msg::Convert] : words.settingsWord;
    cmdOpt->setCaption(QString::fromStdString(settings + ctx_->lang[Msg::SettingsSuffix]));
    cmdOpt->setToolTip(cmdOpt->Caption());
    cmdEncode[0]->setCaption(QString::fromStdString(ctx_->lang[Msg::Start] + words.actionWord));
    cmdEncode[1]->setCaption(QString::fromStdString(ctx_->lang[Msg::Stop] + words.actionWord));
}

void frmMain::applyCaptions()
{
    const LangText& L = ctx_->lang;
    cmdDelSrc->setText(QString::fromUtf8(std::string(L.inLanguage("刪除來源", "删除来源", "Delete source")).c_str()));
    cboCmdEditSpec->setItemText(
        0, QString::fromUtf8(std::string(L.inLanguage("不用特製剪輯", "不用特制剪辑", "No special cut")).c_str()));
    auto set = [this](const char* name, int index, const std::string& caption) {
        if (QAction* a = menuItem(name, index)) a->setText(QString::fromStdString(toUnixLines(caption)));
    };
    cmdInput->setCaption(text(Msg::SourceLabel));
    cmdInput->setToolTip(text(Msg::SourceLabel) + "\n" + text(Msg::DragFilesHere));
    cmdOutput->setCaption(text(Msg::TargetLabel));
    cmdOutput->setToolTip(text(Msg::TargetLabel));
    refreshJobWords();
    if (!jobRunning()) setProgressNote(0, fillPlaceholders(L[Msg::ProgressPercent], {"0"}), true);
    // A target that is not written yet is still the job's target: only a missing path reads "none".
    refreshLabels();
    lblMsgSay->setText(text(Msg::AppTitle));

    set("mnuToPlay", 0, L[Msg::PlayNewFile]);
    set("mnuToPlay", 1, L[Msg::PlayCurrentSource]);
    set("mnuToPlay2", 0, L[Msg::PlayCurrentTarget]);
    set("mnuToScreenshot", 0, L[Msg::TakeScreenshots]);
    for (const auto& [entry, action] : catalogItems_)
        action->setText(QString::fromStdString(toUnixLines(menuCaption(*entry, L))));
    const struct {
        const char* name;
        Msg message;
    } groups[] = {{"mnuToEncode", Msg::ToVideoFormat}, {"mnuToEncodeMusic", Msg::ToSound}, {"mnuToChangeVol", Msg::ChangeVolumeOne},
                  {"mnuToCut", Msg::CutOne},    {"mnuToFix", Msg::RepairOne},         {"mnuTargetDir", Msg::SetDefaultTargetDir}};
    for (const auto& g : groups) menu(g.name)->setTitle(text(g.message));
    set("mnuTargetFile", 0, L[Msg::ChooseTargetAgain]);
    set("mnuTargetDefDir", 0, L[Msg::SourceFolder]);
    set("mnuTargetDefDir", 1, L[Msg::AlwaysIn] + targetDefDir());
    set("mnuHelp", 0, L[Msg::HelpTopics]);
    set("mnuMoney", 0, L[Msg::Donate]);
    set("mnuAbout", 0, L[Msg::About]);
}

// ---- target folder menu ----

std::string frmMain::targetDefDir() const
{
    QAction* a = menuItem("mnuTargetDefDir", 1);
    return a ? a->property("Tag").toString().toStdString() : std::string();
}

TargetFolderSetting frmMain::targetFolderSetting() const
{
    return {targetMode_, targetDefDir()};
}

void frmMain::setTargetDefDir(const std::string& folder)
{
    QAction* a = menuItem("mnuTargetDefDir", 1);
    const std::string f = ensureBackslash(folder);
    a->setProperty("Tag", QString::fromStdString(f));
    a->setText(QString::fromStdString(toUnixLines(ctx_->lang[Msg::AlwaysIn] + f)));
}

void frmMain::selectTargetMode(int mode)
{
    targetMode_ = mode;
    menuItem("mnuTargetDefDir", 0)->setChecked(mode == 0);
    menuItem("mnuTargetDefDir", 1)->setChecked(mode == 1);
}

void frmMain::mnuTargetDefDirClick(int index)
{
    // The item's own check flip is undone: only a completed choice changes the mode.
    selectTargetMode(targetMode_);
    if (index == 0) {
        selectTargetMode(0);
        return;
    }
    CommDialog& d = ctx_->dialog;
    d.DialogTitle = toUnixLines(ctx_->lang[Msg::ChooseDefaultFolder]);
    d.InitDir = targetDefDir();
    const std::string folder = d.ShowDir(true);
    if (folder.empty()) return;
    setTargetDefDir(folder);
    selectTargetMode(1);
}

} // namespace qorvid
