#pragma once
#include "encoder/encode_options.h"

#include <string>

namespace qorvid::tools {

// The FFmpeg audio filter graph for MEncoder's -delay, -af list and -mc.
struct AudioChain {
    std::string graph;
    int channels = 0;   // from "channels=N", 0 when not set there
    int sampleRate = 0; // from "resample=R" / "lavcresample=R"
    std::string error;
};

AudioChain buildAudioChain(const EncodeOptions& options);

} // namespace qorvid::tools
