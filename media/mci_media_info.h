#pragma once
#include "media/probe.h"

namespace qorvid {

// The platform's media information service, answered by ffprobe through the tool runner.
class FfprobeMediaInfo final : public MediaInfo {
public:
    explicit FfprobeMediaInfo(CommandCapture& runner) : runner_(runner) {}
    void query(const std::string& file, float& lengthSeconds, float& fps) override;

private:
    CommandCapture& runner_;
};

} // namespace qorvid
