#include "encoder/ffmpeg_relay.h"

#include "util/clock.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace qorvid::tools {
namespace {

constexpr int tickMs = 1000; // a status line at least this often
// FFmpeg reports its progress twice a second; this long without a word from it, it is stuck
// (a source that blocks, say) and is stopped, since our own status lines would otherwise hide
// the stall from whoever watches us for silence.
constexpr std::int64_t ffmpegSilenceMs = 30 * 1000;

RunLimits ffmpegLimits()
{
    RunLimits limits;
    limits.silenceMs = ffmpegSilenceMs;
    limits.totalMs = std::int64_t{1} << 50; // an encoding takes as long as it takes
    return limits;
}

} // namespace

bool FfmpegRun::start(const std::vector<std::string>& args)
{
    Subprocess::Setup setup;
    setup.program = "ffmpeg";
    setup.argv.push_back("ffmpeg");
    setup.argv.insert(setup.argv.end(), args.begin(), args.end());
    setup.input = Subprocess::Input::Null;
    setup.output = Subprocess::Output::Pipe;
    setup.errors = Subprocess::Errors::Pipe;
    return process.start(setup);
}

FfmpegRelay::FfmpegRelay(std::vector<FfmpegRun*> runs, const PositionFigures& done,
                         std::chrono::steady_clock::time_point started)
    : runs_(std::move(runs)), done_(done), started_(started), lastShown_(started)
{
}

void FfmpegRelay::watchAlso(int fd, std::function<bool()> onReady)
{
    wakeFd_ = fd;
    onWake_ = std::move(onReady);
}

void FfmpegRelay::woken()
{
    wakeFd_ = -1;
    if (!onWake_()) {
        showPosition();
        return;
    }
    for (FfmpegRun* r : runs_) {
        if (r->status >= 0) continue;
        r->stopped = true;
        r->process.signal(SIGKILL);
    }
}

void FfmpegRelay::showPosition(bool evenWhileWatching)
{
    if (wakeFd_ >= 0 && !evenWhileWatching) return;
    figures_ = done_;
    for (const FfmpegRun* r : runs_) {
        if (!r->counts) continue;
        figures_.seconds += r->report.seconds();
        figures_.frames += r->report.frames();
        figures_.bytes += r->report.bytes();
        figures_.expectedSeconds += r->expectedSeconds;
    }
    figures_.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    writeAll(STDOUT_FILENO, positionLine(figures_));
    lastShown_ = std::chrono::steady_clock::now();
}

bool FfmpegRelay::readPipe(FfmpegRun& run, bool errors, int fd)
{
    std::string chunk;
    const bool open = readAvailable(fd, chunk);
    if (errors) {
        const std::string shown = run.log.feed(chunk) + (open ? "" : run.log.finish());
        run.errors += shown;
        writeAll(STDERR_FILENO, shown);
        // Planned without the source's length, the share done is known once FFmpeg says it.
        if (run.expectedSeconds <= 0 && run.plan)
            if (auto duration = run.log.sourceDuration()) run.expectedSeconds = run.plan->expectedFor(*duration);
        return open;
    }
    run.progressLines.feed(chunk);
    bool block = false;
    for (const auto& l : run.progressLines.takeLines()) block = run.report.line(l) || block;
    if (block) showPosition();
    return open;
}

void FfmpegRelay::stopAllBut(const FfmpegRun* failed)
{
    for (FfmpegRun* r : runs_)
        if (r != failed && r->status < 0) {
            r->stopped = true;
            r->process.signal(SIGKILL);
        }
}

void FfmpegRelay::readReady(std::vector<pollfd>& fds, size_t& open, std::vector<RunWatch>& watches)
{
    int ready = poll(fds.data(), fds.size(), 0);
    if (ready < 0 && errno != EINTR) {
        open = 0;
        return;
    }
    for (size_t i = 0; ready > 0 && i < fds.size(); ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        FfmpegRun& r = *runs_[i / 2];
        watches[i / 2].heard();
        if (readPipe(r, i % 2 == 1, fds[i].fd)) continue;
        fds[i].fd = -1;
        --open;
        if (fds[i ^ 1].fd >= 0) continue;
        // Both pipes closed: the run has ended.
        r.status = r.process.wait();
        if (r.status != 0 || r.stalled) stopAllBut(&r);
    }
}

void FfmpegRelay::run()
{
    showPosition(true); // the start: nothing done, whatever the watch decides
    std::vector<pollfd> fds;
    std::vector<RunWatch> watches;
    for (FfmpegRun* r : runs_) {
        fds.push_back({r->process.outputFd(), POLLIN, 0});
        fds.push_back({r->process.errorFd(), POLLIN, 0});
        watches.emplace_back(ffmpegLimits());
    }
    size_t open = fds.size();
    while (open > 0) {
        int waitMs = tickMs;
        for (size_t i = 0; i < runs_.size(); ++i) {
            if (fds[2 * i].fd < 0 && fds[2 * i + 1].fd < 0) continue;
            const int left = watches[i].leftMs();
            if (left == 0 && !runs_[i]->stalled) {
                runs_[i]->stalled = true;
                runs_[i]->process.signal(SIGKILL);
            }
            waitMs = std::min(waitMs, std::max(left, 1));
        }
        std::vector<int> waitOn = {wakeFd_};
        for (const auto& f : fds) waitOn.push_back(f.fd);
        systemClock().waitForInput(waitOn.data(), static_cast<int>(waitOn.size()), waitMs);
        if (wakeFd_ >= 0) {
            pollfd wake{wakeFd_, POLLIN, 0};
            if (poll(&wake, 1, 0) > 0) woken();
            else if (std::chrono::steady_clock::now() - started_ >= std::chrono::milliseconds(tickMs)) wakeFd_ = -1;
        }
        readReady(fds, open, watches);
        if (std::chrono::steady_clock::now() - lastShown_ >= std::chrono::milliseconds(tickMs)) showPosition();
    }
    for (FfmpegRun* r : runs_)
        if (r->status < 0) r->status = r->process.wait();
    if (wakeFd_ >= 0) { // the runs ended first
        wakeFd_ = -1;
        showPosition();
    }
}

} // namespace qorvid::tools
