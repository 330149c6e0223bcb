#include "cli/convert_command.h"

#include "app/cpu_note.h"
#include "app/cpu_usage.h"
#include "cli/convert_options.h"
#include "cli/core_setup.h"
#include "cli/terminal_reporters.h"
#include "engine/command_builder.h"
#include "media/format_catalog.h"
#include "engine/job_driver.h"
#include "media/mci_media_info.h"
#include "media/probe.h"
#include "media/source_check.h"
#include "media/source_selection.h"
#include "options/option_args.h"
#include "options/option_presets.h"
#include "util/clock.h"
#include "util/file_object.h"
#include "util/target_file.h"
#include "util/text.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

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
        std::string player = paths_.toolPath(1);
        std::vector<char*> argv{player.data(), const_cast<char*>(path.c_str()), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, player.c_str(), nullptr, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(pid, &status, 0);
        }
    }
    std::string summary;

private:
    const AppPaths& paths_;
    int patch_;
    bool play_;
};

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
        struct stat st {};
        if (::lstat(source.c_str(), &st) != 0) {
            core.terminal.showMessage(core.lang[Msg::ChooseSourceFirst]);
            return 1;
        }
        FfprobeMediaInfo mediaInfo(core.runner);
        ProbeContext probe{core.runner, core.paths, core.lang, core.terminal, &mediaInfo, false, nullptr};
        SourceLabels labels;
        TargetFolderSetting folder;
        if (args->targetDir) {
            // Unlike the saved setting, a folder named on the command line must be there.
            struct stat dirStat {};
            if (::stat(args->targetDir->c_str(), &dirStat) != 0 || !S_ISDIR(dirStat.st_mode)) {
                std::fprintf(stderr, "qorvid-cli convert: no folder '%s'\n", args->targetDir->c_str());
                return 2;
            }
            // It is used as named: one that cannot take the target is refused, never replaced.
            if (std::string why = folderProblem(absolutePath(*args->targetDir) + "/-"); !why.empty()) {
                std::fprintf(stderr, "qorvid-cli convert: cannot write into '%s': %s\n", args->targetDir->c_str(),
                             why.c_str());
                return 2;
            }
            folder = {1, absolutePath(*args->targetDir)};
        }
        AddSourceContext add{core.job, labels, core.lang, core.terminal, probe, folder, {}, {}};
        AddedSource added = addSource(targetExt(*entry), entry->kind, source, add);
        if (!added.ready) return 1;
        if (!checkSource(source, core.job, false, core.terminal, core.lang)) return 1;
        if (args->out) labels.output = absolutePath(*args->out);

        // The source must suit the target before its options are worth checking.
        if (Msg refusal = JobDriver::refusalFor(core.job); refusal != Msg::None) {
            core.terminal.showMessage(core.lang[refusal]);
            return 1;
        }
        OptionPreset preset = presetForKind(core.job, core.lang, formatCaption(*entry, core.lang), added.subtitleFile);
        readBackPreset(preset.options, core.job, core.lang);
        std::string problem = applySettings(*args, preset.options, core.job, core.lang);
        if (!problem.empty()) {
            std::fprintf(stderr, "qorvid-cli convert: %s\n", problem.c_str());
            return 2;
        }
        if (std::string refusal = applyMarks(*args, preset.options, core.job, core.lang); !refusal.empty()) {
            core.terminal.showMessage(refusal);
            return 1;
        }
        OkOutcome ok = applyOptions(preset.options, core.job, core.lang, core.terminal);
        if (!ok.ok()) {
            core.terminal.showMessage(ok.failure->text);
            return 1;
        }

        CliJobView view(core.paths, args->patch, args->play);
        view.summary = ok.summary;

        if (args->dryRun) {
            JobState& job = core.job;
            job.jobLength = job.markEnd > 0 ? job.markEnd - job.markStart : job.srcLength;
            if (job.markStart > 0 && !isSoundTarget(job.targetKind))
                std::fprintf(stderr, "qorvid-cli: dry run: the key-frame check at the marked start is skipped\n");
            const bool mp3Note = isQuickOperation(job.targetKind) && job.targetExt == "avi" && job.srcAudioCodec != "mp3";
            CommandInputs in{core.paths, job, source, labels.output, false, mp3Note, std::nullopt};
            std::string command = applyCmdEditSpec(buildCommand(in, core.lang, core.terminal, core.asker), args->patch);
            if (command.empty()) return 1;
            std::printf("%s\n", command.c_str());
            return 0;
        }

        auto meter = makeCpuMeter();
        meter->Initialize();
        core.terminal.everySecond = [&] {
            core.display.setCpuNote(cpuNoteText(core.lang, meter->query()));
            core.display.showEstimate({});
        };
        InterruptGuard interrupts(core.runner, core.terminal);
        JobDriver driver(JobContext{core.lang, core.job, labels, core.paths, core.runner, core.display,
                                    core.terminal, core.asker, view, systemClock()});
        JobOutcome outcome = driver.encode();
        core.terminal.finishLine();
        core.terminal.everySecond = nullptr;
        meter->terminate();
        if (outcome == JobOutcome::Produced) {
            std::printf("%s\n", labels.output.c_str());
            return 0;
        }
        return 1;
    } catch (const QuestionUnanswered& q) {
        core.terminal.finishLine();
        std::fprintf(stderr, "qorvid-cli: this needs an answer (run on a terminal, or add --yes)\n");
        return 1;
    }
}

} // namespace qorvid::cli
