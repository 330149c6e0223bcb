#pragma once
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"

#include <string>

namespace qorvid::tools {

// The FFmpeg video filter graph for MEncoder's -vf list and subtitle options.
struct VideoChain {
    std::string graph;         // empty when the picture passes unchanged
    bool constantRate = false; // "harddup": every frame is written out
    int width = 0;             // picture size at the end of the chain (0 when unknown)
    int height = 0;
    bool needsSourceSize = false; // subtitles are sized by a picture the command line leaves open
    std::string error;
};

VideoChain buildVideoChain(const EncodeOptions& options, const PlanContext& context);

} // namespace qorvid::tools
