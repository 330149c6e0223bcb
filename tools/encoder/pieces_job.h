#pragma once
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"

#include <chrono>

namespace qorvid::tools {

// A job that may be shared out over the cores (mayRunInPieces): it starts whole at once
// while ffprobe reads the source beside it; when the source turns out long enough, the whole
// run gives way to the pieces. A big source is read first. ctx.output is the target's unfinished file. Returns the exit
// status, having said why when it is not 0.
int runWholeOrInPieces(const EncodeOptions& options, const PlanContext& ctx, int cores,
                       std::chrono::steady_clock::time_point started);

} // namespace qorvid::tools
