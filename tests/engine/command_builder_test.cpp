// What the builder decides: derived values, the sync switch, ranges, the container question.
// Each target's own template is checked end to end by the conversion itests.
#include "app/lang_text.h"
#include "app/paths.h"
#include "engine/command_builder.h"
#include "media/format_catalog.h"
#include "support/fakes.h"
#include "support/lang.h"
#include "support/test_tools.h"
#include "util/text.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::tw;

namespace {

const std::string kNormal = "  (一般)";

// A program folder whose plugins are the encoder as ".dll" and the converter as ".exe".
class CommandBuilderTest : public ::testing::Test {
protected:
    CommandBuilderTest() : paths(AppPaths::forFolder(dir.path()))
    {
        std::filesystem::create_directories(dir.file("plugins"));
        test::writeFile(dir.file("plugins/ZevraRes2.dll"), "x");
        test::writeFile(dir.file("plugins/ZevraRes3.exe"), "x");
        job.srcFps = 29.97f;
        job.srcDemuxer = "avi";
        job.srcVideoFormat = "h264";
        job.srcAudioCodec = "mp3";
        job.fpsText = "25" + kNormal;
        job.videoBitrateText = "1152  (品質中)";
        job.audioBitrateText = "128  (品質中)";
    }
    std::string build(bool retry = false)
    {
        const CommandInputs in{
            .paths = paths, .job = job, .source = "/v/in.mov", .target = "/v/out.x", .retry = retry, .cut = {}};
        return buildCommand(in, tw(), rec, rec);
    }
    void setFormat(const std::string& key, const std::string& ext)
    {
        const FormatEntry* e = findFormat(key);
        ASSERT_NE(e, nullptr) << key;
        job.targetKind = e->kind;
        job.targetExt = ext;
    }
    bool has(const std::string& part) { return build().find(part) != std::string::npos; }

    test::TempDir dir;
    AppPaths paths;
    JobState job;
    test::RecordingReporters rec;
};

} // namespace

TEST(DerivedValues, FrameRateKeyIntervalAndRates)
{
    const struct {
        std::string fps;
        float src;
        std::string arg;
        int gop;
    } rates[] = {
        {"29.97" + kNormal, 25, "30000/1001", 27}, {"25" + kNormal, 0, "25  ", 23}, // the blanks before "(" stay
        {"與來源影音相同", 12.5f, "12.5", 10},     {"與來源影音相同", 29.97f, "29.97", 27}, // never a fraction
        {"14.985", 0, "15000/1001", 12},           {"23.976" + kNormal, 0, "24000/1001", 21},
        {"3", 0, "3", 2},                          {"", 0, "0", 2},
    };
    for (const auto& r : rates) {
        if (!r.fps.empty()) { EXPECT_EQ(fpsArg(r.fps, r.src), r.arg) << r.fps; }
        EXPECT_EQ(gopValue(r.fps, r.src), r.gop) << r.fps;
    }
    EXPECT_EQ(videoRateArg(" 1475 "), "1475");
    EXPECT_EQ(videoRateArg("與來源影音相同"), "800");
    EXPECT_EQ(audioRateArg("224  (品質高)"), "224");
    EXPECT_EQ(audioRateArg("0"), "64");
    EXPECT_EQ(maxRateValue("3500"), 9000);
}

TEST_F(CommandBuilderTest, RangesAndRates)
{
    setFormat("mpeg2", "mpg");
    job.videoBitrateText = "1000";
    EXPECT_TRUE(has(":vrc_buf_size=1000:vrc_maxrate=3000:vbitrate=1000:"));
    // A suffixed list item never splits the codec options.
    setFormat("divx", "avi");
    job.videoBitrateText = "600  (品質低)";
    job.fpsText = "與來源影音相同";
    job.srcFps = 12.5f;
    EXPECT_TRUE(has(" -ofps 12.5 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=10:vbitrate=600 -oac"));

    // The range is -ss and a length, which the converter calls -t. The encoder's, as marked or as
    // the key-frame check corrected it, is checked on real cuts (ConvertCli, CopyCut).
    job.markStart = 10;
    job.markEnd = 40;
    job.jobLength = 30;
    setFormat("wma", "wma");
    EXPECT_TRUE(has(" -acodec wmav2 -vn -ab 128000 -ss 00:00:10.0 -t 00:00:30.0 \"/v/out.x\""));

    // Without an end mark no target gets a range.
    job.markEnd = 0;
    for (const auto& e : formatCatalog()) {
        setFormat(std::string(e.key), e.group == TargetGroup::QuickOp ? "avi" : std::string(e.ext));
        const std::string c = build();
        EXPECT_FALSE(c.empty()) << e.key;
        for (const char* range : {"-ss", "-endpos", " -t "}) EXPECT_EQ(c.find(range), std::string::npos) << e.key;
    }
}

TEST_F(CommandBuilderTest, SyncSwitchByTargetSourceAndRetry)
{
    const struct {
        const char *key, *video, *sound;
        bool retry;
        const char* mc;
    } cases[] = {
        {"vcd", "svq3", "pcm", false, " -mc 0"},    {"xvid", "svq3", "pcm", false, " -mc 0"},
        {"divx", "h264", "mp3", false, " -mc 1"},   {"divx", "h264", "mp3", true, " -mc 0"},
        {"audmp3", "flv1", "pcm", false, " -mc 1"}, {"audmp3", "flv1", "pcm", true, " -mc 1"}, // its own switch
        {"audmp3", "h264", "pcm", false, " -mc 0"},
    };
    for (const auto& c : cases) {
        setFormat(c.key, "avi");
        job.srcVideoFormat = c.video;
        job.srcAudioCodec = c.sound;
        EXPECT_TRUE(endsWith(build(c.retry), std::string(c.mc) + " \"/v/in.mov\" -o \"/v/out.x\""))
            << c.key << " " << c.video << " " << c.retry;
    }
}

TEST_F(CommandBuilderTest, ContainerMismatchAsksAndCancelBuildsNothing)
{
    setFormat("cut-mpg", "mpg");
    job.jobTitle = "剪輯影片";
    rec.answers = {Answer::Cancel};
    EXPECT_EQ(build(), "");
    EXPECT_EQ(rec.questions, std::vector<std::string>{fillPlaceholders(tw()[Msg::WrongVideoKind], {"剪輯影片", "MPG", "AVI"})});
    rec.answers = {Answer::Ok};
    EXPECT_TRUE(has(" -ovc copy -oac copy -of lavf -lavfopts format=vcd -vf-add harddup -mc 0"));
    // Full conversions never check the container.
    setFormat("divx", "avi");
    rec.questions.clear();
    build();
    EXPECT_TRUE(rec.questions.empty());
}

TEST_F(CommandBuilderTest, MissingToolOrUnknownKindBuildsNothing)
{
    EXPECT_EQ(build(), ""); // no kind
    EXPECT_TRUE(rec.messages.empty());
    std::filesystem::remove(dir.file("plugins/ZevraRes3.exe"));
    setFormat("ogg", "ogg");
    EXPECT_EQ(build(), "");
    EXPECT_EQ(rec.messages, std::vector<std::string>{tw()[Msg::PluginsMissing]});
}

TEST(CmdEditSpec, PatchesEveryOccurrence)
{
    const std::string cmd = "t -ofps 20   -x keyint=18:a max_key_interval=18 -mc 1 -y keyint=18 -mc 0";
    for (int outside : {0, 4}) EXPECT_EQ(applyCmdEditSpec(cmd, outside), cmd);
    EXPECT_EQ(applyCmdEditSpec(cmd, 1), "t -ofps 30000/1001   -x keyint=27:a max_key_interval=27 -mc 1 -y keyint=27 -mc 1");
    EXPECT_EQ(applyCmdEditSpec(cmd, 2), "t -ofps 30000/1001   -x keyint=27:a max_key_interval=27 -mc 0 -y keyint=27 -mc 0");
    // Both switches go, the blank before them stays; "-ofps 200" is not "-ofps 20 ".
    EXPECT_EQ(applyCmdEditSpec(cmd, 3), "t -ofps 30000/1001   -x keyint=27:a max_key_interval=27  -y keyint=27 ");
    EXPECT_EQ(applyCmdEditSpec("-ofps 200 x", 1), "-ofps 200 x");
}
