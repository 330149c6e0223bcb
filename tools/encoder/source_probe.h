#pragma once
#include "encoder/ffmpeg_plan.h"

#include <string>

namespace qorvid::tools {

// The ffprobe arguments that describe a source for the encoder.
std::vector<std::string> sourceProbeArguments(const std::string& source);
// Reads ffprobe's "key=value" answer to those arguments.
SourceInfo parseSourceProbe(const std::string& text);

// The ffprobe arguments that list the picture's packets around a time.
std::vector<std::string> keyFrameProbeArguments(const std::string& source, double seconds);
// The time of the first key frame at or after the time (both from the file's beginning,
// which lies at startTime), where the player's seek lands; negative when none is listed.
double parseKeyFrameFrom(const std::string& text, double seconds, double startTime);

// Reads the source's streams with ffprobe (and the key frame a copy starts at) into the
// context; "" or why not.
std::string readSource(const EncodeOptions& options, PlanContext& context);

// The family name of a font file, asked of fontconfig; empty when it cannot tell.
std::string fontFamilyOf(const std::string& fontFile);

} // namespace qorvid::tools
