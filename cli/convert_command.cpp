#include "cli/convert_command.h"

#include "app/cpu_note.h"
#include "app/cpu_usage.h"
#include "cli/convert_options.h"
#include "cli/core_setup.h"
#include "cli/terminal_reporters.h"
#include "engine/job_driver.h"
#include "engine/job_preparation.h"
#include "media/format_catalog.h"
#include "media/mci_media_info.h"
#include "media/probe.h"
#include "media/source_check.h"
#include "media/source_selection.h"
#include "options/option_args.h"
#include "util/clock.h"
#include "util/file_object.h"
#include "util/subprocess.h"
#include "util/target_file.h"
#include "util/text.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace qorvid::cli {

namespace {

ToolRunner* interruptTarget = nullptr;
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
    if (interruptTarget) interruptTarget->setStopDosIo();
}

// Ctrl-C, SIGTERM and SIGHUP stop the running tool instead of ending the program, so that the
// job can clean up. A run clears the stop when it starts, so the stop is asserted again on
// every turn of the job's loops until the job has ended.
struct InterruptGuard {
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    InterruptGuard(ToolRunner& runner, TerminalReporters& terminal) : terminal_(terminal)
    {
        interruptTarget = &runner;
        interrupted = 0;
        struct sigaction sa {};
        sa.sa_handler = onInterrupt;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = 0; // no restart: a question waiting for input is answered "cancel"
        for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &sa, &previous[i]);
        terminal.eachTurn = [&runner] {
            if (interrupted) runner.setStopDosIo();
        };
    }
    ~InterruptGuard()
    {
        terminal_.eachTurn = nullptr;
        for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &previous[i], nullptr);
        interruptTarget = nullptr;
    }
    TerminalReporters& terminal_;
    struct sigaction previous[std::size(kSignals)] {};
};

std::string absolutePath(const std::string& p)
{
    std::error_code ec;
    std::string abs = std::filesystem::absolute(p, ec).lexically_normal().string();
    return ec ? p : abs;
}

// The front end's side of a job: the player on request, nothing else to lock.
class CliJobView final : public JobView {
public:
    CliJobView(const AppPaths& paths, int patch, bool play) : paths_(paths), patch_(patch), play_(play) {}
    int cmdEditSpecIndex() const override { return patch_; }
    std::string settingsSummary() const override { return summary; }
    void playTarget(const std::string& path) override
    {
        if (!play_) return;
        Subprocess player;
        const std::string program = paths_.toolPath(1);
        if (player.start({program, {program, path}})) player.wait();
    }
    std::string summary;

private:
    const AppPaths& paths_;
    int patch_;
    bool play_;
};

// The folder named by --target-dir: it must be there and take the target, never replaced.
std::optional<TargetFolderSetting> namedTargetFolder(const ConvertArgs& args)
{
    if (!args.targetDir) return TargetFolderSetting{};
    struct stat dirStat {};
    if (::stat(args.targetDir->c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode)) {
        std::fprintf(stderr, "qorvid-cli convert: no folder '%s'\n", args.targetDir->c_str());
        return std::nullopt;
    }
    if (std::string why = folderProblem(absolutePath(*args.targetDir) + "/-"); !why.empty()) {
        std::fprintf(stderr, "qorvid-cli convert: cannot write into '%s': %s\n", args.targetDir->c_str(), why.c_str());
        return std::nullopt;
    }
    return TargetFolderSetting{1, absolutePath(*args.targetDir)};
}

// The command line's options on top of the kind's preset, through the window's own OK
// sequence. Returns the exit code on a refusal, nullopt when the job is ready.
std::optional<int> applyCommandLine(const ConvertArgs& args, ConversionOptions& options, CoreSetup& core,
                                    std::string& summary)
{
    if (std::string problem = applySettings(args, options, core.job, core.lang); !problem.empty()) {
        std::fprintf(stderr, "qorvid-cli convert: %s\n", problem.c_str());
        return 2;
    }
    if (std::string refusal = applyMarks(args, options, core.job, core.lang); !refusal.empty()) {
        core.terminal.showMessage(refusal);
        return 1;
    }
    OkOutcome ok = applyOptions(options, core.job, core.lang, core.terminal);
    if (!ok.ok()) {
        core.terminal.showMessage(ok.failure->text);
        return 1;
    }
    summary = ok.summary;
    return std::nullopt;
}

// Takes the source for the target and applies the options; nullopt when the job is ready.
std::optional<int> prepareConvert(const ConvertArgs& args, const FormatEntry& entry, const std::string& source,
                                  CoreSetup& core, SourceLabels& labels, ProbeContext& probe, std::string& summary)
{
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) {
        core.terminal.showMessage(core.lang[Msg::ChooseSourceFirst]);
        return 1;
    }
    const std::optional<TargetFolderSetting> folder = namedTargetFolder(args);
    if (!folder) return 2;
    AddSourceContext add{core.job, labels, core.lang, core.terminal, probe, *folder, {}, {}};
    PreparedJob prepared = prepareJob(targetExt(entry), entry.kind, source, formatCaption(entry, core.lang), add);
    if (!prepared.ready) return 1;
    if (!checkSource(source, core.job, false, core.terminal, core.lang)) return 1;
    if (args.out) labels.output = absolutePath(*args.out);
    // The source must suit the target before its options are worth checking.
    if (Msg refusal = JobDriver::refusalFor(core.job); refusal != Msg::None) {
        core.terminal.showMessage(core.lang[refusal]);
        return 1;
    }
    return applyCommandLine(args, prepared.options, core, summary);
}

// Prints what a run would do: the go-ahead questions on the error stream, the command line
// on the output.
int printDryRun(JobDriver& driver, CoreSetup& core)
{
    const JobPlan plan = driver.dryRun();
    for (const std::string& q : plan.questions)
        std::fprintf(stderr, "qorvid-cli: dry run: would ask:\n%s\n", toUnixLines(q).c_str());
    if (plan.stopped) return 1;
    core.terminal.finishLine();
    std::printf("%s\n", plan.command.c_str());
    return 0;
}

int runJob(JobDriver& driver, CoreSetup& core, const SourceLabels& labels)
{
    auto meter = makeCpuMeter();
    meter->Initialize();
    core.terminal.everySecond = [&] {
        core.display.setCpuNote(cpuNoteText(core.lang, meter->query()));
        core.display.showEstimate({});
    };
    InterruptGuard interrupts(core.runner, core.terminal);
    JobOutcome outcome = driver.encode();
    core.terminal.finishLine();
    core.terminal.everySecond = nullptr;
    meter->terminate();
    if (outcome != JobOutcome::Produced) return 1;
    std::printf("%s\n", labels.output.c_str());
    return 0;
}

} // namespace

int runTargets(CoreSetup& core)
{
    for (const FormatEntry& e : formatCatalog()) {
        std::printf("%-10s %s\t%s\t%s\n", std::string(e.key).c_str(), menuCaption(e, core.lang).c_str(),
                    kindCaption(e.kind, core.lang).c_str(), std::string(e.ext).c_str());
    }
    return 0;
}

int runConvert(CoreSetup& core, const std::vector<std::string>& words)
{
    std::string error;
    auto args = parseConvertArgs(words, error);
    if (!args) {
        std::fprintf(stderr, "qorvid-cli convert: %s\n%s", error.c_str(), convertUsage());
        return 2;
    }
    const std::string source = absolutePath(args->file);
    const FormatEntry* entry = resolveTarget(args->to, source);
    if (!entry) {
        std::fprintf(stderr, "qorvid-cli convert: no target '%s' for this source (see `qorvid-cli targets`)\n",
                     args->to.c_str());
        return 2;
    }
    core.asker.assumeYes = args->yes;
    try {
        FfprobeMediaInfo mediaInfo(core.runner);
        ProbeContext probe{core.runner, core.paths, core.lang, core.terminal, &mediaInfo, false, nullptr};
        SourceLabels labels;
        CliJobView view(core.paths, args->patch, args->play);
        if (auto refused = prepareConvert(*args, *entry, source, core, labels, probe, view.summary)) return *refused;
        JobDriver driver(JobContext{core.lang, core.job, labels, core.paths, core.runner, core.display,
                                    core.terminal, core.asker, view, systemClock()});
        return args->dryRun ? printDryRun(driver, core) : runJob(driver, core, labels);
    } catch (const QuestionUnanswered& q) {
        core.terminal.finishLine();
        std::fprintf(stderr, "qorvid-cli: this needs an answer (run on a terminal, or add --yes)\n");
        return 1;
    }
}

} // namespace qorvid::cli
