#include "encoder/job_stage.h"

#include "common/output_relay.h"

#include <csignal>
#include <unistd.h>

namespace qorvid::tools {
namespace {

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

// The run whose failure the stage reports: after a signal the first, else the first that failed
// of itself (not one stopped because another had failed); null when all succeeded.
const FfmpegRun* firstFailure(const std::vector<FfmpegRun*>& runs)
{
    for (const FfmpegRun* run : runs)
        if (forwardedSignal() != 0 || (!run->stopped && (run->status != 0 || run->stalled))) return run;
    return nullptr;
}

// Says why the run failed; returns its exit status.
int explain(const EncodeOptions& o, const FfmpegRun& failed)
{
    const bool signalled = forwardedSignal() != 0;
    const int status = failed.status != 0 ? failed.status : 1;
    if (!signalled && !failed.stalled) {
        if (std::string why = sourceFailure(o, failed); !why.empty()) {
            refuse(why);
            return status;
        }
    }
    std::string why = signalled        ? "stopped by a signal"
                      : failed.stalled ? "FFmpeg printed nothing for 30 s and was stopped"
                                       : "FFmpeg failed: " + lastLines(failed.errors, 3);
    refuse("encoding failed, no target written (" + why + ")");
    return status;
}

} // namespace

int refuse(const std::string& message)
{
    writeAll(STDERR_FILENO, "ZevraRes2: " + message + "\n");
    return 1;
}

std::string startRuns(const std::vector<FfmpegRun*>& runs, const std::vector<std::vector<std::string>>& args)
{
    std::vector<int> pids;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (!runs[i]->start(args[i])) return runs[i]->process.error();
        pids.push_back(runs[i]->process.pid());
    }
    forwardSignalsTo(pids);
    return {};
}

int endStage(const EncodeOptions& o, const std::vector<FfmpegRun*>& runs, bool last)
{
    const FfmpegRun* failed = firstFailure(runs);
    if (last || failed) writeAll(STDOUT_FILENO, "\n");
    return failed ? explain(o, *failed) : 0;
}

int runStage(const EncodeOptions& o, const std::vector<FfmpegRun*>& runs,
             const std::vector<std::vector<std::string>>& args, PositionFigures& reached,
             std::chrono::steady_clock::time_point started, bool last)
{
    if (std::string why = startRuns(runs, args); !why.empty()) return refuse(why);
    FfmpegRelay relay(runs, reached, started);
    relay.run();
    reached = relay.figures();
    return endStage(o, runs, last);
}

int runWhole(const EncodeOptions& o, const PlanContext& ctx, std::chrono::steady_clock::time_point started)
{
    FfmpegPlan plan = planFfmpegRun(o, ctx);
    if (!plan.error.empty()) return refuse(plan.error);
    FfmpegRun run;
    run.plan = &plan;
    run.expectedSeconds = plan.expectedSeconds;
    PositionFigures reached;
    return runStage(o, {&run}, {plan.args}, reached, started, true);
}

} // namespace qorvid::tools
