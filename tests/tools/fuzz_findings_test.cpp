// Inputs the fuzzers found that once crashed or overflowed a reader; each must now be refused
// or shown within what its numbers can hold.
#include "converter/converter_output.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/progress.h"
#include "media/probe.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

using namespace qorvid::tools;

namespace {

std::string planError(const std::string& options)
{
    std::istringstream in(options + " in -o out");
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    auto parsed = parseEncoderArguments(words);
    if (!parsed.error.empty()) return parsed.error;
    PlanContext ctx;
    ctx.source = {true, true, 320, 240, 5};
    return planFfmpegRun(parsed.options, ctx).error;
}

} // namespace

TEST(FuzzFindings, HugeNumbersAreRefusedOrHeldToTheirType)
{
    // More hours than a long holds threw out of the converter plugin.
    EXPECT_EQ(rewriteConverterLine("time=123456789:00:01.5 bitrate"), "time=444444440401.5 bitrate");
    EXPECT_EQ(rewriteConverterLine("time=00040000000000000000000015:00:00 x"), "time=00040000000000000000000015:00:00 x");
    // A whole number beyond int was converted anyway.
    EXPECT_NE(parseEncoderArguments({"-srate", "5555555555555", "a.avi", "-o", "b"}).error, "");
    EXPECT_NE(parseEncoderArguments({"-channels", "4294967298", "a.avi", "-o", "b"}).error, "");
    // Sizes beyond any picture overflowed the size kept for later filters.
    EXPECT_EQ(planError("-ovc lavc -oac copy -vf scale=11111111111111111111:-2"),
              "bad value in -vf scale: 11111111111111111111");
    EXPECT_EQ(planError("-ovc lavc -oac copy -vf rotate=1e300"), "bad value in -vf rotate: 1e300");
    EXPECT_EQ(planError("-ovc lavc -oac pcm -af lavcresample=4294967296"), "bad value in -af lavcresample");
    // A first report a millionth into a long job, or a size near the top of its type.
    for (auto [seconds, bytes] : {std::pair{1e-6, 1000LL}, std::pair{0.5, 9000000000000000000LL}}) {
        PositionFigures absurd{seconds, 1, 36000, 1e6, bytes};
        EXPECT_EQ(positionLine(absurd).rfind("Pos:", 0), 0u);
    }
    // Lengths of broken files can be any number.
    EXPECT_EQ(qorvid::roundUp(9.2e17), std::numeric_limits<int>::max());
    EXPECT_EQ(qorvid::roundUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(qorvid::roundUp(std::numeric_limits<double>::quiet_NaN()), 0);
}
