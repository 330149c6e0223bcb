#include "app/lang_text.h"
#include "support/lang.h"
#include "app/paths.h"
#include "engine/command_builder.h"
#include "media/format_catalog.h"
#include "support/fakes.h"
#include "support/test_tools.h"
#include "util/text.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::tw;
using qorvid::test::RecordingReporters;

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
        enc = dir.file("plugins/ZevraRes2.dll");
        conv = dir.file("plugins/ZevraRes3.exe");

        job.srcWidth = 640;
        job.srcHeight = 480;
        job.srcFps = 29.97f;
        job.srcLength = 120;
        job.srcDemuxer = "lavfpref";
        job.srcVideoFormat = "h264";
        job.srcAudioCodec = "mp3";
        job.srcAudioBitrate = 192;
        job.srcAudioRate = 48000;
        job.srcAudioChannels = 2;
        job.jobTitle = "轉檔";
        job.fpsText = "25" + kNormal;
        job.videoBitrateText = "1152  (品質中)";
        job.audioBitrateText = "128  (品質中)";
        job.colorArgs = " -vf-add eq=10:0";
        job.sizeArgs = " -vf-add scale=640:480";
        job.rotateArgs = " -vf-add mirror";
        job.audioArgs = " -delay 0 -channels 2 -srate 44100 -af-add channels=2";
        job.volumeArgs = " -af-add volume=6";
    }

    std::string build(bool retry = false, bool mp3Note = false)
    {
        CommandInputs in{.paths = paths, .job = job, .source = "/v/in.mov", .target = "/v/out.x", .cut = {}};
        in.retry = retry;
        in.mp3Note = mp3Note;
        return buildCommand(in, tw(), rec, rec);
    }

    void setFormat(const std::string& key, const std::string& ext)
    {
        const FormatEntry* e = findFormat(key);
        ASSERT_NE(e, nullptr) << key;
        job.targetKind = e->kind;
        job.targetExt = ext;
    }

    test::TempDir dir;
    AppPaths paths;
    std::string enc, conv;
    JobState job;
    RecordingReporters rec;
    const std::string io = " \"/v/in.mov\" -o \"/v/out.x\"";
    const std::string tail = " -vf-add eq=10:0 -vf-add scale=640:480 -vf-add mirror"
                             " -delay 0 -channels 2 -srate 44100 -af-add channels=2 -af-add volume=6"
                             " -vf-add harddup -mc 1";
    const std::string sound = " -delay 0 -channels 2 -srate 44100 -af-add channels=2 -af-add volume=6";
};

} // namespace

TEST(DerivedValues, FrameRateAndKeyInterval)
{
    EXPECT_EQ(fpsArg("29.97" + kNormal, 25), "30000/1001");
    EXPECT_EQ(gopValue("29.97" + kNormal, 25), 27);
    EXPECT_EQ(fpsArg("25" + kNormal, 0), "25  "); // the blanks before "(" stay
    EXPECT_EQ(gopValue("25" + kNormal, 0), 23);
    EXPECT_EQ(fpsArg("與來源影音相同", 12.5f), "12.5");
    EXPECT_EQ(gopValue("與來源影音相同", 12.5f), 10);
    EXPECT_EQ(fpsArg("與來源影音相同", 29.97f), "29.97"); // the source's rate is never turned into a fraction
    EXPECT_EQ(fpsArg("14.985", 0), "15000/1001");
    EXPECT_EQ(fpsArg("23.976" + kNormal, 0), "24000/1001");
    EXPECT_EQ(gopValue("23.976" + kNormal, 0), 21);
    EXPECT_EQ(gopValue("8", 0), 6);
    EXPECT_EQ(gopValue("3", 0), 2);
    EXPECT_EQ(gopValue("", 0), 2);
}

TEST(DerivedValues, RatesDropSuffixAndBlanks)
{
    EXPECT_EQ(videoRateArg("600  (品質低)"), "600");
    EXPECT_EQ(videoRateArg(" 1475 "), "1475");
    EXPECT_EQ(videoRateArg("與來源影音相同"), "800");
    EXPECT_EQ(videoRateArg(""), "800");
    EXPECT_EQ(audioRateArg("224  (品質高)"), "224");
    EXPECT_EQ(audioRateArg("0"), "64");
    EXPECT_EQ(maxRateValue("1000"), 3000);
    EXPECT_EQ(maxRateValue("3000"), 9000);
}

TEST(DerivedValues, CutAndSyncSwitch)
{
    JobState job;
    job.markStart = 10;
    EXPECT_EQ(computeCut(job), ""); // no end mark: no range
    job.markEnd = 40;
    job.jobLength = 30;
    EXPECT_EQ(computeCut(job), " -ss 00:00:10.0 -endpos 00:00:30.0");

    job.srcVideoFormat = "svq3";
    job.srcAudioCodec = "pcm";
    EXPECT_EQ(mcSwitch(job, false), " -mc 0");
    job.srcAudioCodec = "mp3";
    EXPECT_EQ(mcSwitch(job, false), " -mc 1");
    EXPECT_EQ(mcSwitch(job, true), " -mc 0");
}

TEST(DerivedValues, SourceFormatNames)
{
    auto name = [](const char* demuxer, const char* video = "") {
        JobState job;
        job.srcDemuxer = demuxer;
        job.srcVideoFormat = video;
        return sourceFormatName(job, tw());
    };
    EXPECT_EQ(name(""), "未知");
    EXPECT_EQ(name("ogg"), "OGM");
    EXPECT_EQ(name("mpegps"), "MPG");
    EXPECT_EQ(name("lavfpref", "mp4v"), "MP4");
    EXPECT_EQ(name("lavfpref", "flv1"), "FLV");
    EXPECT_EQ(name("asf"), "ASF");
}

TEST_F(CommandBuilderTest, EveryVideoRow)
{
    struct Row { const char* key; const char* ext; std::string pieces; };
    const std::vector<Row> rows{
        {"vcd", "dat",
         " -oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:keyint=18:vrc_buf_size=1152"
         ":vrc_minrate=1152:vrc_maxrate=1152:vbitrate=1152:acodec=mp2:abitrate=224 -ofps 30000/1001" + tail},
        {"dvd", "vob",
         " -oac lavc -ovc lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts vcodec=mpeg2video:keyint=18"
         ":vrc_buf_size=1835:vrc_maxrate=9000:vbitrate=4800:vstrict=0:acodec=ac3:abitrate=320 -ofps 30000/1001" + tail},
        {"mpeg1", "mpg",
         " -oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:keyint=23:vrc_buf_size=1200"
         ":vrc_minrate=1200:vrc_maxrate=1200:vbitrate=1200:acodec=mp2:abitrate=128 -ofps 25  " + tail},
        {"mpeg2", "mpg",
         " -oac lavc -ovc lavc -of mpeg -mpegopts format=mpeg2 -lavcopts vcodec=mpeg2video:keyint=23:vrc_buf_size=1152"
         ":vrc_maxrate=3456:vbitrate=1152:vstrict=0:acodec=mp2:abitrate=128 -ofps 25  " + tail},
        {"wmv7", "wmv",
         " -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv1:keyint=23:vbitrate=1152"
         ":acodec=wmav1:abitrate=128 -ofps 25  " + tail},
        {"wmv8", "wmv",
         " -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv2:keyint=23:vbitrate=1152"
         ":acodec=wmav2:abitrate=128 -ofps 25  " + tail},
        {"mp42-wmv", "wmv",
         " -noodml -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=msmpeg4v2:keyint=23"
         ":vbitrate=1152:acodec=wmav2:abitrate=128 -ofps 25  " + tail},
        {"mp42-avi", "avi",
         " -noodml -ovc lavc -of lavf -lavfopts format=avi -lavcopts vcodec=msmpeg4v2:keyint=23:vbitrate=1152"
         " -oac mp3lame -lameopts cbr:br=128 -ofps 25  " + tail},
        {"xvid", "avi",
         " -noodml -ofps 25   -ovc xvid -xvidencopts max_key_interval=23:bitrate=1152:max_bframes=0"
         ":quant_type=h263:me_quality=4 -oac mp3lame -lameopts cbr:br=128" + tail},
        {"divx", "avi",
         " -noodml -ofps 25   -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=1152"
         " -oac mp3lame -lameopts cbr:br=128" + tail},
        {"h264", "avi",
         " -noodml -ofps 25   -ovc x264 -x264encopts keyint=23:bitrate=1152:bframes=0"
         " -oac mp3lame -lameopts cbr:br=128" + tail},
        {"audmp3", "avi", " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=128" + sound + " -vf-add harddup -mc 0"},
    };
    for (const Row& r : rows) {
        setFormat(r.key, r.ext);
        EXPECT_EQ(build(), enc + r.pieces + io) << r.key;
    }
    EXPECT_TRUE(rec.questions.empty());
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(CommandBuilderTest, EverySoundRow)
{
    job.audioArgs = " -ac 2 -ar 44100";
    job.volumeArgs = " -vol 316";
    const std::vector<std::pair<const char*, std::string>> rows{
        {"wav", ""}, {"mp3", ""}, {"mp4", " -f mp4 -acodec libfaac"}, {"wma", " -acodec wmav2"},
        {"aac", " -f mp4 -acodec libfaac"}, {"ac3", " -acodec ac3"}, {"ogg", " -acodec vorbis"}};
    for (const auto& [key, codec] : rows) {
        setFormat(key, key);
        EXPECT_EQ(build(), conv + " -y -i \"/v/in.mov\"" + codec + " -vn -ab 128000 -ac 2 -ar 44100 -vol 316 \"/v/out.x\"")
            << key;
    }
}

TEST_F(CommandBuilderTest, EveryQuickOperationRow)
{
    const std::string end = " -vf-add harddup -mc 0";
    struct Row { const char* key; const char* ext; const char* demuxer; std::string pieces; };
    const std::vector<Row> rows{
        {"volume-mpg", "mpg", "mpegps",
         " -ovc copy -oac lavc -of lavf -lavfopts format=vcd -lavcopts acodec=mp2:abitrate=128" + sound + end},
        {"volume-wmv", "wmv", "asf",
         " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=128" + sound + end},
        {"volume-avi", "avi", "avi", " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=128" + sound + end},
        {"cut-mpg", "mpg", "mpegps", " -ovc copy -oac copy -of lavf -lavfopts format=vcd" + end},
        {"cut-wmv", "wmv", "asf",
         " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=192" + job.audioArgs + end},
        {"cut-avi", "avi", "avi", " -noodml -ovc copy -oac copy" + end},
        {"fix-mpg", "mpg", "mpegps", " -idx -ovc copy -oac copy -of lavf -lavfopts format=vcd" + end},
        {"fix-wmv", "wmv", "asf",
         " -idx -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav2:abitrate=192" + job.audioArgs +
             end},
        {"fix-avi", "avi", "avi", " -noodml -idx -ovc copy -oac copy" + end},
    };
    for (const Row& r : rows) {
        setFormat(r.key, r.ext);
        job.srcDemuxer = r.demuxer;
        EXPECT_EQ(build(), enc + r.pieces + io) << r.key;
    }
    EXPECT_TRUE(rec.questions.empty());
}

TEST_F(CommandBuilderTest, QuickOperationVariantsBySource)
{
    job.srcDemuxer = "mpegps";
    job.srcVideoFormat = "0x10000002"; // MPEG-2
    job.markStart = 10;
    job.markEnd = 40;
    job.jobLength = 30;
    const std::string cut = " -ss 00:00:10.0 -endpos 00:00:30.0";

    setFormat("volume-mpg", "mpeg");
    EXPECT_EQ(build(), enc + " -ovc copy -oac lavc -of mpeg -mpegopts format=mpeg2 -lavcopts acodec=mp2:abitrate=128" +
                           cut + sound + " -vf-add harddup -mc 0" + io);
    setFormat("volume-mpg", "dat");
    EXPECT_EQ(build(), enc + " -ovc copy -oac lavc -of lavf -lavfopts format=vcd -lavcopts acodec=mp2:abitrate=224" +
                           cut + sound + " -vf-add harddup -mc 0" + io);
    setFormat("volume-mpg", "vob");
    EXPECT_EQ(build(), enc + " -ovc copy -oac lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts acodec=ac3:abitrate=320" +
                           cut + sound + " -vf-add harddup -mc 0" + io);
    // A VOB cut copies both streams into a DVD stream with only the range applied.
    setFormat("cut-mpg", "vob");
    EXPECT_EQ(build(), enc + " -ovc copy -oac copy -of mpeg -mpegopts format=dvd:tsaf" + cut + " -vf-add harddup -mc 0" + io);
    setFormat("cut-mpg", "mpg");
    EXPECT_EQ(build(), enc + " -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2" + cut + " -vf-add harddup -mc 0" + io);
    // Repair ignores the range.
    setFormat("fix-mpg", "mpg");
    EXPECT_EQ(build(), enc + " -idx -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2 -vf-add harddup -mc 0" + io);

    job.srcDemuxer = "asf";
    job.srcAudioCodec = "wmav1";
    setFormat("volume-wmv", "wmv");
    EXPECT_EQ(build(), enc + " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav1:abitrate=128" +
                           cut + sound + " -vf-add harddup -mc 0" + io);
    setFormat("cut-wmv", "wmv"); // the sound fragment comes before the range here
    EXPECT_EQ(build(), enc + " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts acodec=wmav1:abitrate=192" +
                           job.audioArgs + cut + " -vf-add harddup -mc 0" + io);

    // AVI sound that is not MP3 becomes MP3 from the source's own values.
    job.srcDemuxer = "avi";
    job.srcAudioCodec = "pcm";
    job.srcAudioBitrate = 1411;
    job.srcAudioRate = 44100;
    const std::string mp3 = " -oac mp3lame -lameopts cbr:br=1411 -channels 2 -srate 44100 -af-add channels=2";
    setFormat("cut-avi", "avi");
    EXPECT_EQ(build(false, true), enc + " -noodml -ovc copy" + mp3 + cut + " -vf-add harddup -mc 0" + io);
    setFormat("fix-avi", "avi");
    EXPECT_EQ(build(false, true), enc + " -noodml -idx -ovc copy" + mp3 + " -vf-add harddup -mc 0" + io);
    EXPECT_TRUE(rec.questions.empty());
}

TEST_F(CommandBuilderTest, ContainerMismatchAsksAndCancelRunsNothing)
{
    setFormat("cut-mpg", "mpg");
    job.jobTitle = "剪輯影片";
    job.srcDemuxer = "avi";
    rec.answers = {Answer::Cancel};
    EXPECT_EQ(build(), "");
    ASSERT_EQ(rec.questions.size(), 1u);
    EXPECT_EQ(rec.questions[0], "請注意，您想要剪輯影片 MPG\r\n但是來源影片的真正格式是 AVI\r\n\r\n"
                                "請選擇符合編碼的影片格式\r\n或者，按下「確定」來強迫剪輯影片");

    rec.answers = {Answer::Ok};
    EXPECT_EQ(build(), enc + " -ovc copy -oac copy -of lavf -lavfopts format=vcd -vf-add harddup -mc 0" + io);

    // Full conversions never check the container.
    setFormat("divx", "avi");
    rec.questions.clear();
    build();
    EXPECT_TRUE(rec.questions.empty());
}

TEST_F(CommandBuilderTest, RatesAndRangesInFullCommands)
{
    setFormat("mpeg2", "mpg");
    job.videoBitrateText = "3000";
    EXPECT_NE(build().find(":vrc_buf_size=3000:vrc_maxrate=9000:vbitrate=3000:"), std::string::npos);
    job.videoBitrateText = "1000";
    EXPECT_NE(build().find(":vrc_buf_size=1000:vrc_maxrate=3000:vbitrate=1000:"), std::string::npos);

    setFormat("mpeg1", "mpg");
    job.videoBitrateText = "800";
    job.fpsText = "29.97" + kNormal;
    EXPECT_NE(build().find("keyint=27:vrc_buf_size=1200:vrc_minrate=1200:vrc_maxrate=1200:vbitrate=1200:"
                           "acodec=mp2:abitrate=128 -ofps 30000/1001 -vf-add"),
              std::string::npos);

    // A suffixed list item never splits the codec options.
    setFormat("divx", "avi");
    job.videoBitrateText = "600  (品質低)";
    job.fpsText = "與來源影音相同";
    job.srcFps = 12.5f;
    EXPECT_NE(build().find(" -ofps 12.5 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=10:vbitrate=600 -oac"),
              std::string::npos);

    job.markStart = 10;
    job.markEnd = 40;
    job.jobLength = 30;
    EXPECT_NE(build().find("cbr:br=128 -ss 00:00:10.0 -endpos 00:00:30.0 -vf-add eq=10:0"), std::string::npos);
    // A CUT corrected by the key-frame check replaces the computed one.
    CommandInputs in{.paths = paths, .job = job, .source = "/v/in.mov", .target = "/v/out.x", .cut = {}};
    in.cut = " -ss 00:00:08.3 -endpos 00:00:32.5";
    EXPECT_NE(buildCommand(in, tw(), rec, rec).find("cbr:br=128 -ss 00:00:08.3 -endpos 00:00:32.5 -vf"), std::string::npos);

    job.markEnd = 0;
    for (const auto& e : formatCatalog()) {
        setFormat(std::string(e.key), e.group == TargetGroup::QuickOp ? "avi" : std::string(e.ext));
        job.srcDemuxer = "avi";
        const std::string c = build();
        EXPECT_EQ(c.find("-ss"), std::string::npos) << e.key;
        EXPECT_EQ(c.find("-endpos"), std::string::npos) << e.key;
        EXPECT_EQ(c.find(" -t "), std::string::npos) << e.key;
    }
}

TEST_F(CommandBuilderTest, WmaExampleWithRange)
{
    setFormat("wma", "wma");
    job.audioBitrateText = "128";
    job.audioArgs.clear();
    job.volumeArgs.clear();
    job.markStart = 10;
    job.markEnd = 40;
    job.jobLength = 30;
    CommandInputs in{.paths = paths, .job = job, .source = "/v/in.mov", .target = "/v/out.wma", .cut = {}};
    EXPECT_EQ(buildCommand(in, tw(), rec, rec),
              conv + " -y -i \"/v/in.mov\" -acodec wmav2 -vn -ab 128000 -ss 00:00:10.0 -t 00:00:30.0 \"/v/out.wma\"");
}

TEST_F(CommandBuilderTest, SyncSwitchByTargetAndSource)
{
    job.srcVideoFormat = "svq3";
    job.srcAudioCodec = "pcm";
    for (const char* key : {"vcd", "mpeg2", "wmv8", "xvid", "h264"}) {
        setFormat(key, "avi");
        EXPECT_TRUE(endsWith(build(), " -mc 0" + io)) << key;
    }
    setFormat("audmp3", "avi");
    job.srcVideoFormat = "flv1";
    EXPECT_TRUE(endsWith(build(), " -mc 1" + io));
    EXPECT_TRUE(endsWith(build(true), " -mc 1" + io)); // its own switch, whatever the retry
    job.srcVideoFormat = "h264";
    EXPECT_TRUE(endsWith(build(), " -mc 0" + io));

    job.srcAudioCodec = "mp3";
    setFormat("divx", "avi");
    EXPECT_TRUE(endsWith(build(), " -mc 1" + io));
    EXPECT_TRUE(endsWith(build(true), " -mc 0" + io));
}

TEST_F(CommandBuilderTest, MissingToolOrUnknownKindBuildsNothing)
{
    job.targetKind = TargetKind::None;
    EXPECT_EQ(build(), "");
    EXPECT_TRUE(rec.messages.empty());

    std::filesystem::remove(dir.file("plugins/ZevraRes3.exe"));
    setFormat("ogg", "ogg");
    EXPECT_EQ(build(), "");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0], tw()[Msg::PluginsMissing]);

    // The ".exe" is the fall-back for the encoder too.
    std::filesystem::rename(dir.file("plugins/ZevraRes2.dll"), dir.file("plugins/ZevraRes2.exe"));
    setFormat("divx", "avi");
    EXPECT_TRUE(startsWith(build(), dir.file("plugins/ZevraRes2.exe") + " -noodml"));
}

TEST(CmdEditSpec, PatchesEveryOccurrence)
{
    const std::string cmd = "t -ofps 20   -x keyint=18:a max_key_interval=18 -mc 1 -y keyint=18 -mc 0";
    EXPECT_EQ(applyCmdEditSpec(cmd, 0), cmd);
    EXPECT_EQ(applyCmdEditSpec(cmd, 4), cmd);
    EXPECT_EQ(applyCmdEditSpec(cmd, 1),
              "t -ofps 30000/1001   -x keyint=27:a max_key_interval=27 -mc 1 -y keyint=27 -mc 1");
    EXPECT_EQ(applyCmdEditSpec(cmd, 2),
              "t -ofps 30000/1001   -x keyint=27:a max_key_interval=27 -mc 0 -y keyint=27 -mc 0");
    // Both switches go, the blank before them stays.
    EXPECT_EQ(applyCmdEditSpec(cmd, 3), "t -ofps 30000/1001   -x keyint=27:a max_key_interval=27  -y keyint=27 ");
    // "-ofps 200" is not "-ofps 20 ".
    EXPECT_EQ(applyCmdEditSpec("-ofps 200 x", 1), "-ofps 200 x");
}
