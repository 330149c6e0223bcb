#include "encoder/encoder_job.h"

#include "common/line_stream.h"
#include "common/output_relay.h"
#include "common/waiting_files.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_log.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/ffmpeg_relay.h"
#include "encoder/pieces.h"
#include "encoder/progress.h"
#include "encoder/source_probe.h"
#include "common/subtitle_text.h"
#include "common/unfinished_target.h"
#include "util/clock.h"
#include "util/subprocess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid::tools {
namespace {

// ffprobe prints only when done. We print nothing meanwhile, and the caller gives up on a
// silent tool after 24 s: give up first, so that the reason is ours.
const RunLimits probeLimits{20 * 1000, 20 * 1000};

int refuse(const std::string& message)
{
    writeAll(STDERR_FILENO, "ZevraRes2: " + message + "\n");
    return 1;
}

// The last non-empty lines of a tool's messages, joined into one.
std::string lastLines(const std::string& text, size_t count)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        if (end > begin) lines.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    std::string out;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        out += (out.empty() ? "" : " / ") + lines[i];
    return out;
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// "" when the source and target can be used, else why not.
std::string sourceProblem(const std::vector<std::string>& args, const EncodeOptions& o)
{
    if (std::string waiting = firstWaitingFile(args); !waiting.empty())
        return "cannot open " + waiting + ": not a regular file";
    int fd = open(o.source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "cannot open the source " + o.source + ": " + std::strerror(errno);
    close(fd);
    if (sameFile(o.source, o.target)) return "the target is the source file " + o.target;
    if (!o.subtitles.file.empty() && access(o.subtitles.file.c_str(), R_OK) != 0)
        return "cannot open the subtitle file " + o.subtitles.file + ": " + std::strerror(errno);
    return {};
}

// Reads the source's streams (and the key frame a copy starts at) into ctx; "" or why not.
std::string probeSource(const EncodeOptions& o, PlanContext& ctx)
{
    Captured probe = runAndCapture("ffprobe", sourceProbeArguments(o.source), probeLimits);
    if (!probe.startError.empty()) return probe.startError;
    if (probe.timedOut) return "cannot read the source " + o.source + ": ffprobe did not answer in time";
    if (probe.exitCode != 0) return "cannot read the source " + o.source + ": " + lastLines(probe.errors, 1);
    ctx.source = parseSourceProbe(probe.output);
    ctx.sourceKnown = true;
    if (o.videoEncoder == "copy" && o.start && *o.start > 0 && ctx.source.hasVideo) {
        // The player reads -ss as the stream's own clock in a programme stream, from the
        // file's beginning elsewhere; the cut starts where its seek lands.
        const double from = ctx.source.programStream ? std::max(0.0, *o.start - ctx.source.startTime) : *o.start;
        Captured keys = runAndCapture("ffprobe", keyFrameProbeArguments(o.source, from + ctx.source.startTime),
                                      probeLimits);
        if (keys.exitCode == 0) ctx.source.startKeyFrame = parseKeyFrameFrom(keys.output, from, ctx.source.startTime);
    }
    return {};
}

// Why a failed FFmpeg run is the source's fault, or "" when it is not.
std::string sourceFailure(const EncodeOptions& o, const FfmpegRun& run)
{
    if (!run.log.sourceOpened()) {
        std::string why = lastLines(run.errors, 1);
        if (why.rfind(o.source + ": ", 0) == 0) why.erase(0, o.source.size() + 2);
        return "cannot read the source " + o.source + ": " + why;
    }
    if (run.errors.find("does not contain any stream") != std::string::npos)
        return "the source has neither picture nor sound to encode";
    return {};
}

// 0 when every run succeeded; otherwise says why the first that failed did and returns its
// exit status.
int failure(const EncodeOptions& o, const std::vector<FfmpegRun*>& runs)
{
    const bool signalled = forwardedSignal() != 0;
    const FfmpegRun* failed = nullptr;
    for (const FfmpegRun* run : runs)
        if (!failed && !run->stopped && (run->status != 0 || run->stalled || signalled)) failed = run;
    if (!failed) return 0;
    const int status = failed->status != 0 ? failed->status : 1;
    if (!signalled && !failed->stalled) {
        if (std::string why = sourceFailure(o, *failed); !why.empty()) {
            refuse(why);
            return status;
        }
    }
    std::string why = signalled         ? "stopped by a signal"
                      : failed->stalled ? "FFmpeg printed nothing for 30 s and was stopped"
                                        : "FFmpeg failed: " + lastLines(failed->errors, 3);
    refuse("encoding failed, no target written (" + why + ")");
    return status;
}

// Runs the commands at once, relayed, and returns the exit status as failure() gives it.
// reached: the figures of earlier stages, on return those of this one too. The status line
// ends with the last stage, or with a failure.
int runTogether(const EncodeOptions& o, const std::vector<FfmpegRun*>& runs,
                const std::vector<std::vector<std::string>>& args, PositionFigures& reached,
                std::chrono::steady_clock::time_point started, bool last)
{
    std::vector<int> pids;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (!runs[i]->start(args[i])) return refuse(runs[i]->process.error());
        pids.push_back(runs[i]->process.pid());
    }
    forwardSignalsTo(pids);
    FfmpegRelay relay(runs, reached, started);
    relay.run();
    reached = relay.figures();
    const bool failed = forwardedSignal() != 0 || std::any_of(runs.begin(), runs.end(), [](const FfmpegRun* r) {
                            return r->status != 0 || r->stalled;
                        });
    if (last || failed) writeAll(STDOUT_FILENO, "\n");
    return failure(o, runs);
}

// The unnamed files a job in pieces writes before the target: each piece, the sound and the
// list that joins them. They vanish with the job, whatever ends it.
class PieceFiles {
public:
    // false when the pieces cannot be written unnamed: the job then runs whole.
    bool open(const std::string& target, size_t pieces, bool withSound)
    {
        for (size_t i = 0; i < pieces + (withSound ? 1 : 0) + 1; ++i) {
            files_.push_back(std::make_unique<UnfinishedTarget>());
            if (!files_.back()->open(target + "." + std::to_string(i))) return false;
            if (files_.back()->path().rfind("/proc/", 0) != 0) return false;
        }
        pieces_ = pieces;
        return true;
    }
    size_t pieces() const { return pieces_; }
    std::string piece(size_t i) const { return files_[i]->path(); }
    std::string sound() const { return files_.size() > pieces_ + 1 ? files_[pieces_]->path() : ""; }
    const std::string& list() const { return files_.back()->path(); }
    bool writeList() const
    {
        std::vector<std::string> paths;
        for (size_t i = 0; i < pieces_; ++i) paths.push_back(piece(i));
        const int fd = ::open(list().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) return false;
        const bool written = writeAll(fd, joinList(paths));
        close(fd);
        return written;
    }

private:
    std::vector<std::unique_ptr<UnfinishedTarget>> files_;
    size_t pieces_ = 0;
};

// The pieces' plans in order, then the sound's when there is sound.
std::vector<FfmpegPlan> planPieces(const EncodeOptions& o, const PlanContext& ctx, const std::vector<double>& bounds,
                                   const PieceFiles& files)
{
    std::vector<FfmpegPlan> plans;
    EncodeOptions picture = o;
    picture.noSound = true;
    for (size_t i = 0; i < files.pieces(); ++i) {
        PlanContext piece = ctx;
        piece.piece = true;
        piece.pieceFrom = bounds[i];
        piece.pieceTo = bounds[i + 1];
        piece.output = files.piece(i);
        plans.push_back(planFfmpegRun(picture, piece));
    }
    if (!files.sound().empty()) {
        PlanContext sound = ctx;
        sound.soundOnly = true;
        sound.output = files.sound();
        plans.push_back(planFfmpegRun(o, sound));
    }
    return plans;
}

// The job as pieces of the picture and the sound at once, then joined into ctx.output.
int runInPieces(const EncodeOptions& o, const PlanContext& ctx, const std::vector<double>& bounds,
                const PieceFiles& files, std::chrono::steady_clock::time_point started)
{
    const std::vector<FfmpegPlan> plans = planPieces(o, ctx, bounds, files);
    std::vector<std::unique_ptr<FfmpegRun>> owned;
    std::vector<FfmpegRun*> runs;
    std::vector<std::vector<std::string>> args;
    for (size_t i = 0; i < plans.size(); ++i) {
        if (!plans[i].error.empty()) return refuse(plans[i].error);
        owned.push_back(std::make_unique<FfmpegRun>());
        owned.back()->expectedSeconds = plans[i].expectedSeconds;
        owned.back()->counts = i < files.pieces();
        runs.push_back(owned.back().get());
        args.push_back(plans[i].args);
    }
    PositionFigures reached;
    if (int status = runTogether(o, runs, args, reached, started, false); status != 0) return status;
    if (!files.writeList()) return refuse("cannot write the target " + o.target + ": " + std::strerror(errno));
    FfmpegRun join;
    join.counts = false;
    return runTogether(o, {&join}, {joinArguments(files.list(), files.sound(), aviVideoTag(o), ctx.output)},
                       reached, started, true);
}

// The whole job as one FFmpeg run into output.
int runWhole(const EncodeOptions& o, const PlanContext& ctx, std::chrono::steady_clock::time_point started)
{
    FfmpegPlan plan = planFfmpegRun(o, ctx);
    if (!plan.error.empty()) return refuse(plan.error);
    FfmpegRun run;
    run.plan = &plan;
    run.expectedSeconds = plan.expectedSeconds;
    PositionFigures reached;
    return runTogether(o, {&run}, {plan.args}, reached, started, true);
}

} // namespace

int runEncoderJob(const std::vector<std::string>& args)
{
    const auto started = std::chrono::steady_clock::now();
    ParsedOptions parsed = parseEncoderArguments(args);
    if (!parsed.error.empty()) return refuse(parsed.error);
    EncodeOptions& o = parsed.options;
    if (std::string why = sourceProblem(args, o); !why.empty()) return refuse(why);
    // FFmpeg reads subtitles as UTF-8 best: it gets a decoded copy and no code page.
    Utf8Subtitle subtitles;
    if (!o.subtitles.file.empty()) {
        if (std::string why = subtitles.open(o.subtitles.file, o.subtitles.codepage); !why.empty()) return refuse(why);
        o.subtitles.file = subtitles.path();
        o.subtitles.codepage.clear();
    }
    PlanContext ctx;
    ctx.rateInGraph = joinableEncoding(o);
    const int cores = usableCores();
    if (planNeedsSource(o)) {
        if (std::string why = probeSource(o, ctx); !why.empty()) return refuse(why);
    } else if (mayRunInPieces(o, cores)) {
        probeSource(o, ctx); // unread, the job runs whole and FFmpeg says what is wrong
    }
    if (!o.subtitles.font.empty()) ctx.fontFamily = fontFamilyOf(o.subtitles.font);

    UnfinishedTarget unfinished;
    if (!unfinished.open(o.target))
        return refuse("cannot write the target " + o.target + ": " + std::strerror(errno));
    ctx.output = unfinished.path();
    const std::vector<double> bounds =
        ctx.sourceKnown && mayRunInPieces(o, cores) ? pieceBounds(o, ctx.source, cores) : std::vector<double>{};
    ctx.clockZero = runClockZero(o, ctx.source);
    PieceFiles pieces;
    const bool inPieces = !bounds.empty() && pieces.open(o.target, bounds.size() - 1, ctx.source.hasAudio && !o.noSound);
    if (int status = inPieces ? runInPieces(o, ctx, bounds, pieces, started) : runWhole(o, ctx, started); status != 0)
        return status;
    if (!unfinished.publish(o.target))
        return refuse("cannot move the result to " + o.target + ": " + std::strerror(errno));
    writeAll(STDOUT_FILENO, "Video stream written: " + o.target + "\n");
    return 0;
}

} // namespace qorvid::tools
