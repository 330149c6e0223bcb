#include "encoder/encoder_job.h"

#include "common/line_stream.h"
#include "common/output_relay.h"
#include "common/waiting_files.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/progress.h"
#include "encoder/source_probe.h"
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

} // namespace

int runEncoderJob(const std::vector<std::string>& args)
{
    ParsedOptions parsed = parseEncoderArguments(args);
    if (!parsed.error.empty()) return refuse(parsed.error);
    const EncodeOptions& o = parsed.options;
    if (std::string waiting = firstWaitingFile(args); !waiting.empty())
        return refuse("cannot open " + waiting + ": not a regular file");

    int fd = open(o.source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return refuse("cannot open the source " + o.source + ": " + std::strerror(errno));
    close(fd);
    if (sameFile(o.source, o.target)) return refuse("the target is the source file " + o.target);

    Captured probe = runAndCapture("ffprobe", sourceProbeArguments(o.source), probeLimits);
    if (!probe.startError.empty()) return refuse(probe.startError);
    if (probe.timedOut) return refuse("cannot read the source " + o.source + ": ffprobe did not answer in time");
    if (probe.exitCode != 0)
        return refuse("cannot read the source " + o.source + ": " + lastLines(probe.errors, 1));

    PlanContext ctx;
    ctx.source = parseSourceProbe(probe.output);
    if (o.videoEncoder == "copy" && o.start && *o.start > 0 && ctx.source.hasVideo) {
        Captured keys = runAndCapture(
            "ffprobe", keyFrameProbeArguments(o.source, *o.start + ctx.source.startTime), probeLimits);
        if (keys.exitCode == 0)
            ctx.source.startKeyFrame = parseKeyFrameFrom(keys.output, *o.start, ctx.source.startTime);
    }
    if (!o.subtitles.font.empty()) ctx.fontFamily = fontFamilyOf(o.subtitles.font);
    if (!o.subtitles.file.empty() && access(o.subtitles.file.c_str(), R_OK) != 0)
        return refuse("cannot open the subtitle file " + o.subtitles.file + ": " +
                      std::strerror(errno));

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

    auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    ProgressReport report;
    PositionFigures figures;
    figures.expectedSeconds = plan.expectedSeconds;
    auto showPosition = [&] {
        figures.seconds = report.seconds();
        figures.frames = report.frames();
        figures.bytes = report.bytes();
        figures.elapsedSeconds = elapsed();
        writeAll(STDOUT_FILENO, positionLine(figures));
    };
    showPosition();

    LineStream progressLines;
    std::string errors;
    pollfd fds[2] = {{ffmpeg.outputFd(), POLLIN, 0}, {ffmpeg.errorFd(), POLLIN, 0}};
    int open = 2;
    auto lastShown = std::chrono::steady_clock::now();
    RunLimits limits;
    limits.silenceMs = ffmpegSilenceMs;
    limits.totalMs = std::int64_t{1} << 50; // an encoding takes as long as it takes
    RunWatch watch(limits);
    bool stalled = false;
    while (open > 0) {
        if (watch.leftMs() == 0) {
            ffmpeg.signal(SIGKILL);
            stalled = true;
            break;
        }
        const int waitOn[2] = {fds[0].fd, fds[1].fd};
        watch.clock().waitForInput(waitOn, 2, std::min(tickMs, watch.leftMs()));
        int ready = poll(fds, 2, 0);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) {
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                std::string chunk;
                if (!readAvailable(fds[i].fd, chunk)) {
                    fds[i].fd = -1;
                    --open;
                }
                if (!chunk.empty()) watch.heard();
                if (i == 1) {
                    errors += chunk;
                    writeAll(STDERR_FILENO, chunk);
                    continue;
                }
                progressLines.feed(chunk);
                for (const auto& l : progressLines.takeLines()) {
                    if (report.line(l)) {
                        showPosition();
                        lastShown = std::chrono::steady_clock::now();
                    }
                }
            }
        }
        if (std::chrono::steady_clock::now() - lastShown >= std::chrono::milliseconds(tickMs)) {
            showPosition();
            lastShown = std::chrono::steady_clock::now();
        }
    }
    int status = ffmpeg.wait();
    writeAll(STDOUT_FILENO, "\n");

    if (status != 0 || forwardedSignal() != 0 || stalled) {
        std::string why = forwardedSignal() != 0 ? "stopped by a signal"
                          : stalled              ? "FFmpeg printed nothing for 30 s and was stopped"
                                                 : "FFmpeg failed: " + lastLines(errors, 3);
        refuse("encoding failed, no target written (" + why + ")");
        return status != 0 ? status : 1;
    }
    if (!unfinished.publish(o.target))
        return refuse("cannot move the result to " + o.target + ": " + std::strerror(errno));
    writeAll(STDOUT_FILENO, "Video stream written: " + o.target + "\n");
    return 0;
}

} // namespace qorvid::tools
