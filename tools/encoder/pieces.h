#pragma once
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"

#include <string>
#include <vector>

namespace qorvid::tools {

// A long encoding with an encoder that uses one core (XviD) or little more (MPEG-4 in FFmpeg
// 5.1, whose decoding, filtering and muxing take turns in one loop) is shared out: the
// picture in pieces that run at once, one per core, the sound beside them, and the parts
// joined by a stream copy.

// The cores this process may run on.
int usableCores();

// An MPEG-4 part 2 picture without B-frames: AVIs of it join picture for picture (with
// B-frames, each piece's first ones would take a place of their own in the joined file).
bool joinableEncoding(const EncodeOptions& options);

// Whether the command line could be run in pieces, before the source is read: a joinable
// AVI at a given rate (-ofps), from the start of the source and without subtitles.
bool mayRunInPieces(const EncodeOptions& options, int cores);

// Where the pieces begin and end in the result (seconds): the first is 0, the last the end
// (0 when it is the source's own). Each lies half a place before a place of the result, so
// that no rounding moves one across. Empty when the run is better whole: too short, or
// where the sound starts is not known.
std::vector<double> pieceBounds(const EncodeOptions& options, const SourceInfo& source, int cores);

// The bytes a run of these FFmpeg arguments should write over the seconds, from the bit rates
// it sets (-b:v, -b:a); 0 when it sets no picture bit rate.
double expectedBytes(const std::vector<std::string>& args, double seconds);

// Whether the target's folder holds the pieces, the sound and the joined target at once, with
// room for bit rates running over; a whole run writes the target only once.
bool roomForPieces(const std::string& target, double targetBytes);

// Where a run of the whole source would start its clock: at the earlier of the streams it
// reads, as FFmpeg does.
double runClockZero(const EncodeOptions& options, const SourceInfo& source);

// The concat list that joins the pieces' files, in order.
std::string joinList(const std::vector<std::string>& pieces);

// FFmpeg's arguments that join the pieces (listed in listFile) and the sound (none when
// empty) into the target by a stream copy.
std::vector<std::string> joinArguments(const std::string& listFile, const std::string& sound,
                                       const std::string& videoTag, const std::string& output);

} // namespace qorvid::tools
