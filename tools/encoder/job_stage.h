#pragma once
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/ffmpeg_relay.h"

#include <chrono>
#include <string>
#include <vector>

namespace qorvid::tools {

// Our own refusal on the error stream; returns the exit status 1.
int refuse(const std::string& message);

// Starts FFmpeg for each run with its arguments and passes our signals on to them all; "" or
// why one could not start.
std::string startRuns(const std::vector<FfmpegRun*>& runs, const std::vector<std::vector<std::string>>& args);

// After a stage's relay: ends the status line when this was the last stage or one failed,
// and returns 0 or the exit status of the first run that failed, having said why.
int endStage(const EncodeOptions& options, const std::vector<FfmpegRun*>& runs, bool last);

// A stage of a job: the runs started at once and relayed to their end. reached: the figures
// of earlier stages, on return those of this one too.
int runStage(const EncodeOptions& options, const std::vector<FfmpegRun*>& runs,
             const std::vector<std::vector<std::string>>& args, PositionFigures& reached,
             std::chrono::steady_clock::time_point started, bool last);

// The whole job as one FFmpeg run into ctx.output, the only stage.
int runWhole(const EncodeOptions& options, const PlanContext& ctx, std::chrono::steady_clock::time_point started);

} // namespace qorvid::tools
