#pragma once
#include "common/line_stream.h"
#include "encoder/ffmpeg_log.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/progress.h"
#include "util/subprocess.h"

#include <poll.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qorvid::tools {

// One FFmpeg run and what it has said.
struct FfmpegRun {
    Subprocess process;
    FfmpegLog log;
    ProgressReport report;
    LineStream progressLines;
    std::string errors;     // the messages shown
    double expectedSeconds = 0;
    const FfmpegPlan* plan = nullptr; // for a length known only once FFmpeg has read the source
    bool counts = true;     // its position is part of the target's (not so the sound of pieces)
    bool stalled = false;   // it printed nothing for too long and was killed
    bool stopped = false;   // killed because another run failed
    int status = -1;        // exit status once it has ended

    // Starts FFmpeg with these arguments, its output and errors on pipes.
    bool start(const std::vector<std::string>& args);
};

// Relays FFmpeg runs that go on at once: their messages to our error stream, their progress
// together as our status line, at least once a second, until all have ended. When one
// fails, the others are stopped: their work is of no use any more.
class FfmpegRelay {
public:
    // done: what earlier stages of the job have reached, shown beneath these runs' own.
    FfmpegRelay(std::vector<FfmpegRun*> runs, const PositionFigures& done,
                std::chrono::steady_clock::time_point started);
    void run();
    // Until fd has something to read, no status line is shown after the first; then onReady is called once,
    // and when it returns true the runs are given up (stopped) and run() returns. The watch
    // ends unanswered when it takes longer than a status line may wait, or the runs end.
    void watchAlso(int fd, std::function<bool()> onReady);
    // The figures last shown.
    const PositionFigures& figures() const { return figures_; }

private:
    void showPosition(bool evenWhileWatching = false);
    // Reads what one pipe has; false at its end.
    bool readPipe(FfmpegRun& run, bool errors, int fd);
    void stopAllBut(const FfmpegRun* failed);

    // Reads the pipes that are ready; false when they are all closed.
    void readReady(std::vector<pollfd>& fds, size_t& open, std::vector<RunWatch>& watches);
    // Called when the watched descriptor is ready.
    void woken();

    std::vector<FfmpegRun*> runs_;
    int wakeFd_ = -1;
    std::function<bool()> onWake_;
    PositionFigures done_;
    PositionFigures figures_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastShown_;
};

} // namespace qorvid::tools
