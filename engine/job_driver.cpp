#include "engine/job_driver.h"

#include "app/lang_text.h"
#include "app/paths.h"
#include "engine/command_builder.h"
#include "media/format_catalog.h"
#include "engine/format_time.h"
#include "engine/job_display.h"
#include "engine/keyframe_check.h"
#include "engine/tool_runner.h"
#include "media/job_state.h"
#include "media/probe.h"
#include "media/source_check.h"
#include "media/source_selection.h"
#include "util/clock.h"
#include "util/command_line.h"
#include "util/target_file.h"
#include "util/text.h"
#include "engine/run_failure.h"

#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid {

namespace {

constexpr long long kRetryBelowBytes = 102400;

// Removes what a failed or stopped run wrote at the target, never the file that was there before.
void removeIfNew(const std::string& target, const FileIdentity& before)
{
    if (target.find('*') != std::string::npos) return;
    const FileIdentity now = identityOf(target);
    if (now.exists && !(now.device == before.device && now.inode == before.inode)) ::unlink(target.c_str());
}

// Guarantees the idle window on every way out of a started job.
struct IdleOnExit {
    std::function<void()> restore;
    ~IdleOnExit() { restore(); }
};

} // namespace

std::string JobDriver::audioCodecDisplayName(const std::string& codec, const LangText& lang)
{
    if (codec.empty()) return lang[Msg::Unknown];
    std::string name = toUpper(codec);
    if (name == "A52") return "AC3";
    if (name == "FAAD") return "AAC";
    if (name == "FFVORBIS") return "OGG";
    if (name == "FFCOOK") return "RA";
    return name;
}

void JobDriver::stop()
{
    if (running_) ctx_.runner.setStopDosIo();
}

void JobDriver::restoreIdle()
{
    ctx_.view.setRunningState(false);
    ctx_.display.progressView().showStartButton();
}

Msg JobDriver::refusalFor(const JobState& j)
{
    const bool sound = isSoundTarget(j.targetKind);
    if (!sound && (j.srcDemuxer == "audio" || (j.srcWidth == 0 && j.srcFps == 0))) return Msg::MusicNotForVideoOps;
    if (sound && j.srcAudioCodec.empty()) return Msg::NoSoundForSoundTarget;
    if (j.targetKind == TargetKind::AudIsMp3 && j.srcAudioCodec.empty()) return Msg::NoSoundForMp3;
    if (j.targetKind == TargetKind::OnlyTransVol && j.srcAudioCodec.empty()) return Msg::NoSoundForVolume;
    return Msg::None;
}

bool JobDriver::checkKinds()
{
    const Msg refusal = refusalFor(ctx_.job);
    if (refusal != Msg::None) ctx_.messages.showMessage(ctx_.lang[refusal]);
    return refusal == Msg::None;
}

JobOutcome JobDriver::encode()
{
    if (running_) {
        stop();
        return JobOutcome::Stopping;
    }
    running_ = true;
    JobOutcome outcome = run();
    running_ = false;
    return outcome;
}

// What one run of the tool left behind.
struct JobDriver::Attempt {
    std::string command;
    std::int64_t startMs = 0;
    float percent = 0;
    FileIdentity before; // the target as it was before the run
};

std::optional<JobOutcome> JobDriver::checkBeforeStart(TargetLock& lock)
{
    JobState& job = ctx_.job;
    const LangText& lang = ctx_.lang;
    const std::string& source = ctx_.labels.input;
    const std::string& target = ctx_.labels.output;

    ctx_.view.closePlayer();
    if (!checkSource(source, job, false, ctx_.messages, lang)) return JobOutcome::Refused;
    if (!checkKinds()) return JobOutcome::Refused;
    if (source == target) {
        ctx_.messages.showMessage(lang[Msg::SourceIsTarget]);
        return JobOutcome::Refused;
    }
    // A target chosen in the save dialog may hold a name the command line cannot carry.
    if (!canQuote(target)) {
        ctx_.messages.showMessage(lang[Msg::InvalidFileName] + "\r\n\r\n" + target);
        return JobOutcome::Refused;
    }
    // A target that another job is writing counts as existing: it would be replaced.
    const bool taken = !lock.tryLock(target);
    if ((taken || identityOf(target).exists) &&
        !goAhead(target + "\r\n\r\n" + fillPlaceholders(lang[Msg::TargetExistsOverwrite], {job.jobTitle})))
        return JobOutcome::Cancelled;
    if (std::string why = folderProblem(target); !why.empty()) {
        ctx_.messages.showMessage(target + "\r\n\r\n" + job.jobTitle + lang[Msg::Failed] + "\r\n\r\n" + why);
        return JobOutcome::Refused;
    }
    const bool sound = isSoundTarget(job.targetKind);
    if (!checkToolFile(ctx_.paths.toolPath(sound ? 3 : 2), ctx_.messages, lang)) return JobOutcome::Refused;
    return std::nullopt;
}

bool JobDriver::checkKeyFrameStart(std::optional<std::string>& cut, bool& sparse)
{
    JobState& job = ctx_.job;
    if (job.markStart <= 0 || isSoundTarget(job.targetKind)) return true;
    ctx_.view.showKeyFrameNote(ctx_.lang[Msg::CheckingKeyFrames]);
    const std::string player = ctx_.paths.toolPath(1);
    const std::string& source = ctx_.labels.input;
    auto seek = [&](float t) { return seekLanding(ctx_.runner.RunAndCapture(seekProbeCommand(player, source, t), false)); };
    KeyFrameOutcome kf = checkKeyFrames(job, seek, ctx_.lang, ctx_.asker);
    ctx_.view.hideKeyFrameNote();
    ctx_.clock.sleepMs(100);
    if (kf.cancelled) return false;
    sparse = kf.sparseWarning;
    if (!kf.cut.empty()) cut = kf.cut;
    return true;
}

bool JobDriver::confirmStart(bool sparse, const std::string& mp3Note)
{
    const JobState& job = ctx_.job;
    const LangText& lang = ctx_.lang;
    std::string confirm;
    if (sparse) confirm = fillPlaceholders(lang[Msg::KeyFramesTooSparse], {job.jobTitle}) + "\r\n\r\n";
    confirm += lang[Msg::GettingReady] + job.jobTitle + "  ....." + "\r\n\r\n" + ctx_.view.settingsSummary() + mp3Note;
    return goAhead(confirm);
}

bool JobDriver::goAhead(const std::string& question)
{
    if (dryQuestions_) {
        dryQuestions_->push_back(question);
        return true;
    }
    return ctx_.asker.ask(question, Buttons::OkCancel) == Answer::Ok;
}

JobOutcome JobDriver::run()
{
    TargetLock lock;
    if (auto refused = checkBeforeStart(lock)) return *refused;

    ctx_.view.setRunningState(true);
    IdleOnExit idle{[this] { restoreIdle(); }};
    const JobPlan plan = planRun();
    if (plan.stopped) return *plan.stopped;

    const LangText& lang = ctx_.lang;
    const std::string phase = ctx_.job.targetKind == TargetKind::OnlyFix ? lang[Msg::ParsingTimeline] : lang[Msg::Initialising];
    ctx_.display.setProgressNote(0, fillPlaceholders(lang[Msg::ProgressPercent], {"0"}) + " -->  " + phase, false);

    Attempt attempt;
    if (auto stopped = runTool(plan, attempt)) return *stopped;
    return reportResult(attempt);
}

JobPlan JobDriver::dryRun()
{
    std::vector<std::string> questions;
    dryQuestions_ = &questions;
    struct Clear {
        std::vector<std::string>*& p;
        ~Clear() { p = nullptr; }
    } clear{dryQuestions_};
    TargetLock lock;
    JobPlan plan;
    if (auto refused = checkBeforeStart(lock))
        plan.stopped = refused;
    else
        plan = planRun();
    plan.questions = std::move(questions);
    return plan;
}

// The steps between the checks and the tool's run, shared by encode and the dry run.
JobPlan JobDriver::planRun()
{
    JobState& job = ctx_.job;
    const LangText& lang = ctx_.lang;
    JobPlan plan;
    job.jobLength = job.markEnd > 0 ? job.markEnd - job.markStart : job.srcLength;

    bool sparse = false;
    if (!checkKeyFrameStart(plan.cut, sparse)) {
        plan.stopped = JobOutcome::Cancelled;
        return plan;
    }
    plan.mp3Note = isQuickOperation(job.targetKind) && job.targetExt == "avi" && job.srcAudioCodec != "mp3";
    std::string note;
    if (plan.mp3Note)
        note = "\r\n" + std::string(48, '-') + "\r\n" + lang[Msg::AviSoundToMp3] + audioCodecDisplayName(job.srcAudioCodec, lang);
    if (!confirmStart(sparse, note)) {
        plan.stopped = JobOutcome::Cancelled;
        return plan;
    }
    plan.command = commandFor(plan, false);
    if (plan.command.empty()) plan.stopped = JobOutcome::Cancelled;
    return plan;
}

std::string JobDriver::commandFor(const JobPlan& plan, bool retry)
{
    CommandInputs in{ctx_.paths, ctx_.job, ctx_.labels.input, ctx_.labels.output, retry, plan.mp3Note, plan.cut};
    std::string command = buildCommand(in, ctx_.lang, ctx_.messages, ctx_.asker);
    command = applyCmdEditSpec(command, ctx_.view.cmdEditSpecIndex());
    if (!command.empty() && ctx_.view.reviewEnabled()) command = ctx_.view.reviewCommand(command);
    return command;
}

std::optional<JobOutcome> JobDriver::runTool(const JobPlan& plan, Attempt& a)
{
    JobState& job = ctx_.job;
    const LangText& lang = ctx_.lang;
    const std::string& target = ctx_.labels.output;
    a.before = identityOf(target); // what was there before the first try
    a.command = plan.command;
    for (bool retry = false;;) {
        a.startMs = ctx_.clock.nowMs();
        // The tool replaces an existing target only once its new one is complete.
        if (std::string why = replaceProblem(target); !why.empty()) {
            ctx_.messages.showMessage(lang[Msg::TargetInUse] + "\r\n\r\n" + target + "\r\n\r\n" + why);
            return JobOutcome::Refused;
        }
        ctx_.runner.setRunGuard([target] { return folderProblem(target); });
        a.percent = ctx_.runner.RunWithProgress(a.command, job.jobLength, false);
        const FileIdentity after = identityOf(target);
        const bool smallNew = after.exists && after != a.before && after.size > 0 && after.size < kRetryBelowBytes;
        if (a.percent <= 1 && !retry && !ctx_.runner.aborted() && contains(a.command, "-mc 1") && smallNew) {
            if (ctx_.asker.ask(lang[Msg::SyncCorrectionConflict], Buttons::OkCancel) == Answer::Ok) {
                retry = true;
                a.command = commandFor(plan, true);
                if (!a.command.empty()) continue;
            }
            a.command.clear();
        }
        break;
    }
    return afterRun(a);
}

std::optional<JobOutcome> JobDriver::afterRun(const Attempt& a)
{
    const std::string& target = ctx_.labels.output;
    ctx_.display.resetCpuNote();
    if (ctx_.runner.aborted()) {
        // A stopped run leaves no half-written target behind, and the earlier target stays.
        removeIfNew(target, a.before);
        ctx_.display.setProgressNote(0, fillPlaceholders(ctx_.lang[Msg::ProgressPercent], {"0"}), true);
        return JobOutcome::Aborted;
    }
    if (a.command.empty()) {
        removeIfNew(target, a.before);
        return JobOutcome::Cancelled;
    }
    return std::nullopt;
}

JobOutcome JobDriver::reportResult(const Attempt& a)
{
    const JobState& job = ctx_.job;
    const LangText& lang = ctx_.lang;
    const std::string& target = ctx_.labels.output;
    const float elapsed = static_cast<float>(ctx_.clock.nowMs() - a.startMs) / 1000.0f;
    const std::string took = lang[Msg::ListSeparator] + lang[Msg::Took] + FormatTime(elapsed, 1, 1) + lang[Msg::Seconds];
    const RunEnd& end = ctx_.runner.lastRunEnd();
    const std::string why = runFailure(end, target, a.before);
    if (why.empty()) {
        ctx_.display.setProgressNote(100, fillPlaceholders(lang[Msg::ProgressPercent], {"100"}), false);
        Answer play = ctx_.asker.ask(target + "\r\n\r\n" + job.jobTitle + lang[Msg::Succeeded] + took + "\r\n\r\n" + lang[Msg::PressOkToPlay],
                                     Buttons::OkCancel);
        restoreIdle();
        ctx_.display.setProgressNote(0, fillPlaceholders(lang[Msg::ProgressPercent], {"0"}), true);
        if (play == Answer::Ok) ctx_.view.playTarget(target);
        return JobOutcome::Produced;
    }
    removeIfNew(target, a.before);
    ctx_.messages.showMessage(target + "\r\n\r\n" + job.jobTitle + lang[Msg::Failed] + took + "\r\n\r\n" + why);
    restoreIdle();
    ctx_.display.setProgressNote(0, fillPlaceholders(lang[Msg::ProgressPercent], {"0"}), true);
    return JobOutcome::Failed;
}

} // namespace qorvid
