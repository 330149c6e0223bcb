#pragma once
#include "app/ui/main_context.h"
#include "engine/job_driver.h"
#include "media/probe.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class StyleButton;

namespace qorvid {

class CpuMeter;
class NotePicture;
class ProgressPicture;
class frmOptions;
class frmOutput;
class frmPlayer;
struct FormatEntry;
enum class TargetKind;

// Two pictures that take turns while a job runs (imgFun, driven by tmrFun).
class BusyPicture;

// The main window: source and target, the job's labels, progress, time estimate and CPU load,
// the source, target, language and help menus, and the encode button pair.
class frmMain final : public QMainWindow,
                      public ProgressView,
                      public EstimateView,
                      public JobView,
                      public ProbeView {
    Q_OBJECT
public:
    frmMain(const AppPaths& paths, bool developerMode);
    ~frmMain() override;

    // Start-up from the layout on: target folder default, filter, version, settings with the
    // language, timers. Returns whether a settings file was found.
    bool load();

    MainContext& context() { return *ctx_; }
    // The options window, made with the main window and kept while it lives.
    frmOptions& optionsWindow() { return *options_; }
    // The player window, made on first use and kept while the main window lives.
    frmPlayer& playerWindow();
    bool hasPlayerWindow() const { return player_ != nullptr; }
    bool developerMode() const { return developerMode_; }
    // What the encode button would do now, without running anything (the dry run).
    JobPlan planJob() { return driver_->dryRun(); }

    // ---- language ----
    void applyLanguage(const std::string& code);
    std::string language() const;

    // ---- the menus' entries ----
    // Item `index` of a menu array (index 0 for single items); nullptr when absent.
    QAction* menuItem(const QString& name, int index = 0) const;
    QMenu* menu(const QString& name) const;
    QAction* catalogItem(const FormatEntry& entry) const;

    // ---- guards and state ----
    bool busy() const;
    bool jobRunning() const;
    TargetFolderSetting targetFolderSetting() const;
    std::string targetDefDir() const;

    // ---- actions (the handlers of the controls) ----
    void cmdInputClick();
    void cmdOutputClick();
    void cmdOptClick();
    void cmdEncodeClick();
    void addSourceFrom(const FormatEntry& entry);
    void mnuTargetFileClick();
    void mnuTargetDefDirClick(int index);
    void playItem(int index);
    void dropOnSource(const QStringList& files, const QString& text);
    void cmdDelSrcClick();
    void askDosWindow();
    void openHelp();
    void showAbout();
    void showMoney();
    void saveSettingsNow();

    // ---- what the core reports to ----
    void setProgressNote(float percent, const std::string& caption, bool idleStyle) override;
    void showStartButton() override;
    void setEstimateNote(const std::string& text) override;
    void setCpuNote(const std::string& text) override;
    void setRunningState(bool running) override;
    void showKeyFrameNote(const std::string& text) override;
    void hideKeyFrameNote() override;
    bool reviewEnabled() const override;
    std::string reviewCommand(const std::string& command) override;
    int cmdEditSpecIndex() const override;
    std::string settingsSummary() const override { return ctx_->summary; }
    void closePlayer() override;
    void playTarget(const std::string& path) override;
    void showProbeBusy(const std::string& note) override;
    void hideProbeBusy() override;
    void setVideoInfoNote(const JobState& job, const std::string& lengthTooltip) override;

    // The source labels again from the job (after a probe or a language change).
    void refreshVideoInfo();
    // One tick of tmrCPU: the CPU line and the time estimate.
    void cpuTick();

    // Controls, by their names.
    StyleButton* cmdInput = nullptr;
    StyleButton* cmdOutput = nullptr;
    StyleButton* cmdOpt = nullptr;
    StyleButton* cmdEncode[2] = {nullptr, nullptr};
    QLabel* lblInput = nullptr;
    QLabel* lblOutput = nullptr;
    QLabel* lblVideoSize = nullptr;
    QLabel* lblVideoLen = nullptr;
    QLabel* lblInputCheck = nullptr;
    QLabel* lblEncodeNote = nullptr;
    QLabel* lblEncodeNoteCheck = nullptr;
    QLabel* lblEncodeEsti = nullptr;
    QLabel* lblVer = nullptr;
    QLabel* lblMsgSay = nullptr;
    ProgressPicture* picProgress = nullptr;
    NotePicture* picEncodeEsti = nullptr;
    BusyPicture* imgFun = nullptr;
    QPushButton* cmdDelSrc = nullptr;
    QCheckBox* chkCheckAsfMci = nullptr;
    QCheckBox* chkCheckCmd = nullptr;
    QComboBox* cboCmdEditSpec = nullptr;
    QTimer tmrCPU;
    QTimer tmrFun;
    QTimer tmrDrag;
    frmOutput* output = nullptr;

signals:
    // A job ended (any outcome); for callers that follow the window from outside.
    void jobFinished(int outcome);

protected:
    void closeEvent(QCloseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    void askToLeaveDuringJob();
    void leaveAnswered(Answer answer);
    // Opens the file with the desktop's program; failureText is shown when none opens it.
    void openWithDesktop(const std::string& path, const std::string& failureText);
    // After a language switch: the job's texts, its summary and the running job's notes.
    void relabelJob(const LangText& before);
    void buildControls();
    void buildButtons(QWidget* parent);
    void buildLabels(QWidget* parent);
    void buildDeveloperControls(QWidget* parent);
    void buildTimers();
    void buildMenus();
    void buildSourceMenu();
    void addCatalogItems(QMenu* sub, const char* array);
    void buildTargetMenu();
    void buildMenuBar();
    void layoutControls();
    void applyCaptions();
    void setLabelPath(QLabel* label, const std::string& path, Msg emptyMessage);
    void refreshLabels();
    void refreshJobWords();
    void addSource(const std::string& extOrList, TargetKind kind, const std::string& formatCaption);
    void setTargetDefDir(const std::string& folder);
    void selectTargetMode(int mode);
    QAction* addItem(QMenu* menu, const QString& name, int index);
    QString text(Msg message) const;

    std::unique_ptr<MainContext> ctx_;
    std::unique_ptr<JobDriver> driver_;
    std::unique_ptr<frmOptions> options_;
    std::unique_ptr<CpuMeter> meter_;
    std::unique_ptr<frmPlayer> player_;
    bool developerMode_;
    std::string lengthTooltip_;
    std::string lastCpuLoad_; // the meter's last reading, for a language switch
    bool closeConfirmed_ = false;
    bool closeAfterJob_ = false;
    bool leaveQuestionOpen_ = false;
    int targetMode_ = 0;

    QMenu* mnuSrcType = nullptr;
    QMenu* mnuTarget = nullptr;
    QMenu* mnuLanguage = nullptr;
    QMenu* mnuMainHelp = nullptr;
    std::vector<QAction*> items_; // every named menu entry
    std::vector<std::pair<const FormatEntry*, QAction*>> catalogItems_;
};

} // namespace qorvid
