// The encoder plugin reads FFmpeg's tagged messages: what the source turned out to be, and
// which lines to pass on.
#include "encoder/ffmpeg_log.h"

#include <gtest/gtest.h>

using namespace qorvid::tools;

namespace {

// FFmpeg 5.1 at "level+info" converting an MPEG-2 programme stream, cut short.
const std::string startUp =
    "[info] Input #0, mpeg, from 'clip.mpg':\n"
    "[info]   Duration: 00:01:00.01, start: 0.529089, bitrate: 9124 kb/s\n"
    "[info]   Stream #0:0[0x1e0]: Video: mpeg2video (Main), yuv420p(tv, progressive), 1280x720\n"
    "[info]   Stream #0:1[0x1c0]: Audio: mp2, 44100 Hz, stereo, s16p, 192 kb/s\n"
    "[info] Stream mapping:\n"
    "[info]   Stream #0:0 -> #0:0 (mpeg2video (native) -> mpeg4 (native))\n"
    "[info] Output #0, avi, to '/proc/1/fd/3':\n"
    "[info]   Duration: 00:00:09.00, start: 0.000000, bitrate: N/A\n"
    "[mpeg4 @ 0x55d0c3a0] [warning] too many threads/slices (3), reducing to 2\n"
    "[mp3 @ 0x55d0c3b0] [error] Header missing\n"
    "Error while decoding stream #0:1: Invalid data found when processing input\n"
    "[info] video:229kB audio:4kB subtitle:0kB\n";

std::string feedInPieces(FfmpegLog& log, const std::string& text, size_t piece)
{
    std::string shown;
    for (size_t at = 0; at < text.size(); at += piece) shown += log.feed(text.substr(at, piece));
    return shown + log.finish();
}

} // namespace

TEST(FfmpegLog, KeepsTheSourcesLengthAndPassesOnOnlyErrorsWithTheirContinuation)
{
    for (size_t piece : {size_t(1), size_t(7), startUp.size()}) {
        FfmpegLog log;
        EXPECT_FALSE(log.sourceOpened());
        std::string shown = feedInPieces(log, startUp, piece);
        EXPECT_TRUE(log.sourceOpened());
        // The input's length, not the output's that follows it.
        ASSERT_TRUE(log.sourceDuration());
        EXPECT_DOUBLE_EQ(*log.sourceDuration(), 60.01);
        EXPECT_EQ(shown, "[mp3 @ 0x55d0c3b0] Header missing\n"
                         "Error while decoding stream #0:1: Invalid data found when processing input\n")
            << "in pieces of " << piece;
    }
}

TEST(FfmpegLog, AnUnopenedSourceAndUnreadableLengths)
{
    FfmpegLog failed;
    EXPECT_EQ(failed.feed("[error] bad.mpg: Invalid data found when processing input"), "");
    EXPECT_EQ(failed.finish(), "bad.mpg: Invalid data found when processing input");
    EXPECT_FALSE(failed.sourceOpened());
    EXPECT_FALSE(failed.sourceDuration());

    FfmpegLog live;
    live.feed("[info] Input #0, mpegts, from 'pipe:':\n[info]   Duration: N/A, start: 1.4\n");
    EXPECT_TRUE(live.sourceOpened());
    EXPECT_FALSE(live.sourceDuration());

    for (const char* line : {"  Duration: 00:61:00.00, start", "  Duration: 1:00:00.5x", "Duration:"})
        EXPECT_FALSE(parseDurationLine(line)) << line;
    EXPECT_DOUBLE_EQ(*parseDurationLine("  Duration: 02:03:04.56, start: 0"), 7384.56);

    // A tag that is not a level stays part of the text; an unterminated one is plain text.
    EXPECT_EQ(untagLine("[h264 @ 0x1] [verbose] x").level, TaggedLine::Level::Detail);
    EXPECT_EQ(untagLine("[h264 @ 0x1] [verbose] x").text, "[h264 @ 0x1] x");
    EXPECT_EQ(untagLine("[unfinished").level, TaggedLine::Level::None);
}
