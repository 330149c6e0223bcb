#include "engine/job_driver.h"

#include "app/lang_text.h"
#include "app/paths.h"
#include "engine/command_builder.h"
#include "engine/format_catalog.h"
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
#include "util/text.h"

#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid {

namespace {

constexpr long long kRetryBelowBytes = 102400;

// -1 when the file does not exist.
long long fileSize(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
}

bool removeFile(const std::string& path)
{
    ::unlink(path.c_str());
    return fileSize(path) < 0;
}

bool isQuick(const std::string& kind) { return kind == "onlyTransVol" || kind == "onlyCut" || kind == "onlyFix"; }

// Guarantees the idle window on every way out of a started job.
struct IdleOnExit {
    std::function<void()> restore;
    ~IdleOnExit() { restore(); }
};

} // namespace

std::string JobDriver::audioCodecDisplayName(const std::string& codec, const LangText& lang)
{
    if (codec.empty()) return lang[21];
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

int JobDriver::refusalFor(const JobState& j, const LangText& lang)
{
    const bool sound = isSoundTarget(j.targetKind, lang);
    int refusal = 0;
    if (!sound && (j.srcDemuxer == "audio" || (j.srcWidth == 0 && j.srcFps == 0)))
        refusal = 247;
    else if (sound && j.srcAudioCodec.empty())
        refusal = 252;
    else if (j.targetKind == "AudIsMp3" && j.srcAudioCodec.empty())
        refusal = 258;
    else if (j.targetKind == "onlyTransVol" && j.srcAudioCodec.empty())
        refusal = 260;
    return refusal;
}

bool JobDriver::checkKinds()
{
    int refusal = refusalFor(ctx_.job, ctx_.lang);
    if (refusal) ctx_.messages.showMessage(ctx_.lang[refusal]);
    return refusal == 0;
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

JobOutcome JobDriver::run()
{
    JobState& job = ctx_.job;
    const LangText& lang = ctx_.lang;
    const std::string& source = ctx_.labels.input;
    const std::string& target = ctx_.labels.output;

    ctx_.view.closePlayer();
    if (!checkSource(source, job, false, ctx_.messages, lang)) return JobOutcome::Refused;
    if (!checkKinds()) return JobOutcome::Refused;
    if (source == target) {
        ctx_.messages.showMessage(lang[3]);
        return JobOutcome::Refused;
    }
    // A target chosen in the save dialog may hold a name the command line cannot carry.
    if (!canQuote(target)) {
        ctx_.messages.showMessage(lang[10] + "\r\n\r\n" + target);
        return JobOutcome::Refused;
    }
    if (fileSize(target) >= 0 &&
        ctx_.asker.ask(target + "\r\n\r\n" + fillPlaceholders(lang[4], {job.jobTitle}), Buttons::OkCancel) !=
            Answer::Ok)
        return JobOutcome::Cancelled;

    const bool sound = isSoundTarget(job.targetKind, lang);
    if (!checkToolFile(ctx_.paths.toolPath(sound ? 3 : 2), ctx_.messages, lang)) return JobOutcome::Refused;

    ctx_.view.setRunningState(true);
    IdleOnExit idle{[this] { restoreIdle(); }};
    job.jobLength = job.markEnd > 0 ? job.markEnd - job.markStart : job.srcLength;

    std::optional<std::string> cut;
    bool sparse = false;
    if (job.markStart > 0 && !sound) {
        ctx_.view.showKeyFrameNote(lang[33]);
        const std::string player = ctx_.paths.toolPath(1);
        auto seek = [&](float t) { return seekLanding(ctx_.runner.RunAndCapture(seekProbeCommand(player, source, t), false)); };
        KeyFrameOutcome kf = checkKeyFrames(job, seek, lang, ctx_.asker);
        ctx_.view.hideKeyFrameNote();
        ctx_.clock.sleepMs(100);
        if (kf.cancelled) return JobOutcome::Cancelled;
        sparse = kf.sparseWarning;
        if (!kf.cut.empty()) cut = kf.cut;
    }

    const bool mp3Note = isQuick(job.targetKind) && job.targetExt == "avi" && job.srcAudioCodec != "mp3";
    std::string note;
    if (mp3Note)
        note = "\r\n" + std::string(48, '-') + "\r\n" + lang[261] + audioCodecDisplayName(job.srcAudioCodec, lang);

    std::string confirm;
    if (sparse) confirm = fillPlaceholders(lang[49], {job.jobTitle}) + "\r\n\r\n";
    confirm += lang[50] + job.jobTitle + "  ....." + "\r\n\r\n" + ctx_.view.settingsSummary() + note;
    if (ctx_.asker.ask(confirm, Buttons::OkCancel) != Answer::Ok) return JobOutcome::Cancelled;

    ctx_.display.setProgressNote(
        0, fillPlaceholders(lang[16], {"0"}) + " -->  " + (job.targetKind == "onlyFix" ? lang[279] : lang[265]), false);

    bool retry = false;
    std::string command;
    std::int64_t start = 0;
    for (;;) {
        CommandInputs in{ctx_.paths, job, source, target, retry, mp3Note, cut};
        command = buildCommand(in, lang, ctx_.messages, ctx_.asker);
        command = applyCmdEditSpec(command, ctx_.view.cmdEditSpecIndex());
        if (!command.empty() && ctx_.view.reviewEnabled()) command = ctx_.view.reviewCommand(command);
        if (command.empty()) return JobOutcome::Cancelled;

        start = ctx_.clock.nowMs();
        if (fileSize(target) >= 0 && !removeFile(target)) {
            ctx_.messages.showMessage(lang[57] + "\r\n\r\n" + target);
            return JobOutcome::Refused;
        }
        float p = ctx_.runner.RunWithProgress(command, job.jobLength, false);
        long long size = fileSize(target);
        if (p <= 1 && !retry && !ctx_.runner.aborted() && contains(command, "-mc 1") && size > 0 &&
            size < kRetryBelowBytes) {
            if (ctx_.asker.ask(lang[263], Buttons::OkCancel) == Answer::Ok) {
                retry = true;
                continue;
            }
            command.clear();
        }
        break;
    }
    ctx_.display.resetCpuNote();

    if (ctx_.runner.aborted()) {
        // A stopped run leaves no half-written target behind.
        removeFile(target);
        ctx_.display.setProgressNote(0, fillPlaceholders(lang[16], {"0"}), true);
        return JobOutcome::Aborted;
    }
    if (command.empty()) return JobOutcome::Cancelled;

    const float elapsed = static_cast<float>(ctx_.clock.nowMs() - start) / 1000.0f;
    const std::string took = lang[26] + lang[7] + FormatTime(elapsed, 1, 1) + lang[8];
    const long long size = fileSize(target);
    const bool produced = target.find('*') != std::string::npos ? size >= 0 : size > 0;
    if (produced) {
        ctx_.display.setProgressNote(100, fillPlaceholders(lang[16], {"100"}), false);
        Answer play = ctx_.asker.ask(target + "\r\n\r\n" + job.jobTitle + lang[5] + took + "\r\n\r\n" + lang[65],
                                     Buttons::OkCancel);
        restoreIdle();
        ctx_.display.setProgressNote(0, fillPlaceholders(lang[16], {"0"}), true);
        if (play == Answer::Ok) ctx_.view.playTarget(target);
        return JobOutcome::Produced;
    }
    if (size >= 0) removeFile(target);
    ctx_.messages.showMessage(target + "\r\n\r\n" + job.jobTitle + lang[6] + took);
    restoreIdle();
    ctx_.display.setProgressNote(0, fillPlaceholders(lang[16], {"0"}), true);
    return JobOutcome::Failed;
}

} // namespace qorvid
