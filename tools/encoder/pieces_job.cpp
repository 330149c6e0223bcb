#include "encoder/pieces_job.h"

#include "common/output_relay.h"
#include "common/unfinished_target.h"
#include "encoder/ffmpeg_relay.h"
#include "encoder/job_stage.h"
#include "encoder/pieces.h"
#include "encoder/source_probe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <thread>
#include <unistd.h>

namespace qorvid::tools {
namespace {

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
    // The concat list of the pieces. (FFmpeg's concat reads a list in a pipe many times
    // slower: it is a file.)
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
    if (int status = runStage(o, runs, args, reached, started, false); status != 0) return status;
    if (!files.writeList()) return refuse("cannot write the target " + o.target + ": " + std::strerror(errno));
    FfmpegRun join;
    join.counts = false;
    return runStage(o, {&join}, {joinArguments(files.list(), files.sound(), aviVideoTag(o), ctx.output)}, reached,
                    started, true);
}

// ffprobe's reading of the source on a thread of its own; readyFd() is readable once the
// answer is in.
class SourceReading {
public:
    explicit SourceReading(const EncodeOptions& o)
    {
        if (pipe2(fds_, O_CLOEXEC) != 0) return;
        thread_ = std::thread([this, o] {
            error_ = readSource(o, read_);
            writeAll(fds_[1], "x");
        });
    }
    ~SourceReading()
    {
        if (thread_.joinable()) thread_.join();
        for (int fd : fds_)
            if (fd >= 0) close(fd);
    }
    int readyFd() const { return fds_[0]; }
    // Once readyFd() was readable: the source, or nothing when it could not be read.
    const SourceInfo* answer()
    {
        if (thread_.joinable()) thread_.join();
        return error_.empty() && read_.sourceKnown ? &read_.source : nullptr;
    }

private:
    int fds_[2] = {-1, -1};
    std::thread thread_;
    PlanContext read_;
    std::string error_;
};

// A source this big takes seconds to convert whatever its length: its job waits for the probe,
// which answers soonest alone.
constexpr off_t bigSource = 32 << 20;

// What the target should come to; without a set bit rate, as much as the source.
double targetBytes(const EncodeOptions& o, const PlanContext& read)
{
    const FfmpegPlan whole = planFfmpegRun(o, read);
    if (double bytes = expectedBytes(whole.args, whole.expectedSeconds); bytes > 0) return bytes;
    struct stat st {};
    return stat(o.source.c_str(), &st) == 0 ? static_cast<double>(st.st_size) : 0;
}

// The pieces' plan for the read source; false when the job is better whole, or when the
// target's disk has room for the target but not for its pieces as well.
bool planInPieces(const EncodeOptions& o, PlanContext& read, int cores, std::vector<double>& bounds, PieceFiles& pieces)
{
    read.clockZero = runClockZero(o, read.source);
    bounds = pieceBounds(o, read.source, cores);
    return !bounds.empty() && roomForPieces(o.target, targetBytes(o, read)) &&
           pieces.open(o.target, bounds.size() - 1, read.source.hasAudio && !o.noSound);
}

int runAfterTheProbe(const EncodeOptions& o, const PlanContext& ctx, int cores, std::chrono::steady_clock::time_point started)
{
    PlanContext read = ctx;
    std::vector<double> bounds;
    PieceFiles pieces;
    if (readSource(o, read).empty() && planInPieces(o, read, cores, bounds, pieces))
        return runInPieces(o, read, bounds, pieces, started);
    return runWhole(o, ctx, started);
}

} // namespace

int runWholeOrInPieces(const EncodeOptions& o, const PlanContext& ctx, int cores, std::chrono::steady_clock::time_point started)
{
    struct stat st {};
    if (stat(o.source.c_str(), &st) == 0 && st.st_size >= bigSource) return runAfterTheProbe(o, ctx, cores, started);
    SourceReading reading(o);
    FfmpegPlan plan = planFfmpegRun(o, ctx);
    if (!plan.error.empty()) return refuse(plan.error);
    FfmpegRun whole;
    whole.plan = &plan;
    whole.expectedSeconds = plan.expectedSeconds;
    if (std::string why = startRuns({&whole}, {plan.args}); !why.empty()) return refuse(why);

    PlanContext read = ctx;
    std::vector<double> bounds;
    PieceFiles pieces;
    FfmpegRelay relay({&whole}, {}, started);
    relay.watchAlso(reading.readyFd(), [&] {
        const SourceInfo* answer = reading.answer();
        if (!answer || forwardedSignal() != 0) return false;
        read.source = *answer;
        read.sourceKnown = true;
        return planInPieces(o, read, cores, bounds, pieces);
    });
    relay.run();
    if (!whole.stopped || forwardedSignal() != 0) return endStage(o, {&whole}, true);
    return runInPieces(o, read, bounds, pieces, started);
}

} // namespace qorvid::tools
