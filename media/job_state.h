#pragma once
#include <array>
#include "media/format_catalog.h"

#include <cstdint>
#include <string>

namespace qorvid {

// The one record of the current job. The source path and the target path are
// not kept here: they are the captions of the main window's input and output
// labels (held by the front end, see SourceLabels).
struct JobState {
    // Source, filled by the probe.
    std::int32_t srcWidth = 0;
    std::int32_t srcHeight = 0;
    float srcFps = 0;
    float srcLength = 0;
    std::string srcDemuxer;
    std::string srcVideoFormat;
    std::string srcAudioCodec;
    std::int32_t srcAudioBitrate = 0; // kbit/s
    std::int32_t srcAudioRate = 0;    // Hz
    std::int32_t srcAudioChannels = 0;
    float srcTimeShift = 0;
    std::int32_t srcGifFrames = 0;

    // Target, chosen with the source.
    std::string targetExt;
    TargetKind targetKind = TargetKind::None;
    std::string jobTitle;
    std::int32_t targetWidth = 0;
    std::int32_t targetHeight = 0;
    float previewStep = 0;

    // Options.
    std::string fpsText;
    std::string videoBitrateText;
    std::string audioBitrateText;
    float markStart = 0;
    float markEnd = 0; // 0: no range marked
    std::array<std::int32_t, 5> cropRect{};
    std::string colorArgs;
    std::string sizeArgs;
    std::string rotateArgs;
    std::string subtitleArgs;
    std::string audioArgs;
    std::string volumeArgs;

    float jobLength = 0; // seconds that 100 % stands for

    void clear() { *this = JobState{}; }
};

} // namespace qorvid
