#include "encoder/encoder_job.h"

#include "common/line_stream.h"
#include "common/output_relay.h"
#include "common/waiting_files.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_log.h"
#include "encoder/ffmpeg_plan.h"
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
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid::tools {
namespace {

constexpr int tickMs = 1000; // a status line at least this often
// ffprobe prints only when done. We print nothing meanwhile, and the caller gives up on a
// silent tool after 24 s: give up first, so that the reason is ours.
const RunLimits probeLimits{20 * 1000, 20 * 1000};
// FFmpeg reports its progress twice a second; this long without a word from it, it is stuck
// (a source that blocks, say) and is stopped, since our own status lines would otherwise hide
// the stall from whoever watches us for silence.
constexpr std::int64_t ffmpegSilenceMs = 30 * 1000;

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

// Relays a running FFmpeg: its messages to our error stream, its progress as our status
// lines, at least once a second.
class FfmpegRelay {
public:
    FfmpegRelay(Subprocess& ffmpeg, const FfmpegPlan& plan) : ffmpeg_(ffmpeg), plan_(plan)
    {
        figures_.expectedSeconds = plan.expectedSeconds;
    }
    // Returns false when FFmpeg fell silent for too long and was stopped.
    bool run();
    const std::string& errors() const { return errors_; }
    const FfmpegLog& log() const { return log_; }

private:
    void showPosition()
    {
        figures_.seconds = report_.seconds();
        figures_.frames = report_.frames();
        figures_.bytes = report_.bytes();
        figures_.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        writeAll(STDOUT_FILENO, positionLine(figures_));
        lastShown_ = std::chrono::steady_clock::now();
    }
    // Reads what one pipe has; false at its end.
    bool readPipe(int index, int fd, RunWatch& watch);

    Subprocess& ffmpeg_;
    const FfmpegPlan& plan_;
    FfmpegLog log_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown_ = started_;
    ProgressReport report_;
    PositionFigures figures_;
    LineStream progressLines_;
    std::string errors_;
};

bool FfmpegRelay::readPipe(int index, int fd, RunWatch& watch)
{
    std::string chunk;
    const bool open = readAvailable(fd, chunk);
    if (!chunk.empty()) watch.heard();
    if (index == 1) {
        const std::string shown = log_.feed(chunk) + (open ? "" : log_.finish());
        errors_ += shown;
        writeAll(STDERR_FILENO, shown);
        // Planned without the source's length, the share done is known once FFmpeg says it.
        if (figures_.expectedSeconds <= 0)
            if (auto duration = log_.sourceDuration()) figures_.expectedSeconds = plan_.expectedFor(*duration);
        return open;
    }
    progressLines_.feed(chunk);
    for (const auto& l : progressLines_.takeLines())
        if (report_.line(l)) showPosition();
    return open;
}

bool FfmpegRelay::run()
{
    showPosition();
    pollfd fds[2] = {{ffmpeg_.outputFd(), POLLIN, 0}, {ffmpeg_.errorFd(), POLLIN, 0}};
    int open = 2;
    RunLimits limits;
    limits.silenceMs = ffmpegSilenceMs;
    limits.totalMs = std::int64_t{1} << 50; // an encoding takes as long as it takes
    RunWatch watch(limits);
    while (open > 0) {
        if (watch.leftMs() == 0) {
            ffmpeg_.signal(SIGKILL);
            return false;
        }
        const int waitOn[2] = {fds[0].fd, fds[1].fd};
        watch.clock().waitForInput(waitOn, 2, std::min(tickMs, watch.leftMs()));
        int ready = poll(fds, 2, 0);
        if (ready < 0 && errno != EINTR) break;
        for (int i = 0; ready > 0 && i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            if (!readPipe(i, fds[i].fd, watch)) {
                fds[i].fd = -1;
                --open;
            }
        }
        if (std::chrono::steady_clock::now() - lastShown_ >= std::chrono::milliseconds(tickMs)) showPosition();
    }
    return true;
}

// Why a failed FFmpeg run is the source's fault, or "" when it is not.
std::string sourceFailure(const EncodeOptions& o, const FfmpegRelay& relay)
{
    if (!relay.log().sourceOpened()) {
        std::string why = lastLines(relay.errors(), 1);
        if (why.rfind(o.source + ": ", 0) == 0) why.erase(0, o.source.size() + 2);
        return "cannot read the source " + o.source + ": " + why;
    }
    if (relay.errors().find("does not contain any stream") != std::string::npos)
        return "the source has neither picture nor sound to encode";
    return {};
}

} // namespace

int runEncoderJob(const std::vector<std::string>& args)
{
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
    if (planNeedsSource(o))
        if (std::string why = probeSource(o, ctx); !why.empty()) return refuse(why);
    if (!o.subtitles.font.empty()) ctx.fontFamily = fontFamilyOf(o.subtitles.font);

    UnfinishedTarget unfinished;
    if (!unfinished.open(o.target))
        return refuse("cannot write the target " + o.target + ": " + std::strerror(errno));
    ctx.output = unfinished.path();
    FfmpegPlan plan = planFfmpegRun(o, ctx);
    if (!plan.error.empty()) return refuse(plan.error);

    Subprocess::Setup setup;
    setup.program = "ffmpeg";
    setup.argv.push_back("ffmpeg");
    setup.argv.insert(setup.argv.end(), plan.args.begin(), plan.args.end());
    setup.input = Subprocess::Input::Null;
    setup.output = Subprocess::Output::Pipe;
    setup.errors = Subprocess::Errors::Pipe;
    Subprocess ffmpeg;
    if (!ffmpeg.start(setup)) return refuse(ffmpeg.error());
    forwardSignalsTo(ffmpeg.pid());
    FfmpegRelay relay(ffmpeg, plan);
    const bool stalled = !relay.run();
    int status = ffmpeg.wait();
    writeAll(STDOUT_FILENO, "\n");

    if (status != 0 || forwardedSignal() != 0 || stalled) {
        if (forwardedSignal() == 0 && !stalled) {
            if (std::string why = sourceFailure(o, relay); !why.empty()) {
                refuse(why);
                return status != 0 ? status : 1;
            }
        }
        std::string why = forwardedSignal() != 0 ? "stopped by a signal"
                          : stalled              ? "FFmpeg printed nothing for 30 s and was stopped"
                                                 : "FFmpeg failed: " + lastLines(relay.errors(), 3);
        refuse("encoding failed, no target written (" + why + ")");
        return status != 0 ? status : 1;
    }
    if (!unfinished.publish(o.target))
        return refuse("cannot move the result to " + o.target + ": " + std::strerror(errno));
    writeAll(STDOUT_FILENO, "Video stream written: " + o.target + "\n");
    return 0;
}

} // namespace qorvid::tools
