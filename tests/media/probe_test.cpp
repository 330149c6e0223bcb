#include "app/lang_text.h"
#include "app/paths.h"
#include "engine/job_display.h"
#include "engine/tool_runner.h"
#include "media/job_state.h"
#include "media/probe.h"
#include "support/fakes.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

using namespace qorvid;
using namespace qorvid::test;

TEST(FindValue, ReadsKeyValueLines)
{
    const std::string out = "ID_VIDEO_WIDTH=320\r\nID_video_height= 240 \nID_LENGTH=12.34\n";
    EXPECT_EQ(findValue(out, "ID_VIDEO_WIDTH="), "320");
    EXPECT_EQ(findValue(out, "ID_VIDEO_HEIGHT="), "240"); // case does not matter unless asked
    int pos = 1;
    EXPECT_EQ(findValue(out, "ID_VIDEO_HEIGHT=", "", true, pos), "");
    EXPECT_EQ(pos, 1); // unchanged when the key is missing
    EXPECT_EQ(findValue(out, "id_length=", "", false, pos, true), "id_length=12.34\n");
    EXPECT_EQ(pos, static_cast<int>(out.size()) + 1);
    pos = 1;
    EXPECT_EQ(findValue("Duration: 00:01:02.50, start: 0.5, bitrate", "duration:", ",", false, pos), "00:01:02.50");
    EXPECT_EQ(findValue("Duration: 00:01:02.50, start: 0.5, bitrate", "start:", ",", false, pos), "0.5");
    EXPECT_EQ(findValue("ID_LENGTH=5", "ID_LENGTH="), ""); // no end of line: nothing
}

TEST(FindValue, ReadsTheValueBeforeAMarker)
{
    EXPECT_EQ(findValueBefore("Stream #0:0: Video: wmv2, 25 fps, 25 tb(r), 1k tbn", ",", "tb(r)"), " 25 ");
    EXPECT_EQ(findValueBefore("25 tb(r)", ",", "tb(r)"), "");
    EXPECT_EQ(findValueBefore("a, b, c", ",", "tb(r)"), "");
}

TEST(ProbeNumbers, TimesAndRounding)
{
    EXPECT_FLOAT_EQ(timeToSeconds("01:02:03.5", 0), 3723.5f);
    EXPECT_FLOAT_EQ(timeToSeconds("02:03.5", 1), 124.5f);
    EXPECT_FLOAT_EQ(timeToSeconds("12.5", 100), 12.5f); // no ":": the addend is not used
    EXPECT_EQ(roundUp(12.0), 12);
    EXPECT_EQ(roundUp(12.01), 13);
    EXPECT_EQ(roundUp(-1.5), -1);
    // Lengths of broken files can be any number.
    EXPECT_EQ(roundUp(9.2e17), std::numeric_limits<int>::max());
    EXPECT_EQ(roundUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(roundUp(std::numeric_limits<double>::quiet_NaN()), 0);
}

namespace {

// The probe with every tool answered by canned output.
struct ProbeRig {
    ProbeRig() : display(lang, ui, ui, clock), runner(lang, job, RunnerPorts{ui, ui, display, nullptr, clock, launcher})
    {
        lang.load("tw");
        std::filesystem::create_directories(dir.file("plugins"));
        writeFile(dir.file("plugins/ZevraRes1.exe"), "");
        writeFile(dir.file("plugins/ZevraRes3.exe"), "");
        paths = AppPaths::forFolder(dir.path());
    }
    std::string probe(const std::string& identify)
    {
        launcher.onOutput("-identify", identify);
        job.clear();
        ProbeContext ctx{runner, paths, lang, ui, nullptr, false, nullptr};
        return analyseSource(source, job, ctx);
    }
    TempDir dir;
    AppPaths paths;
    LangText lang;
    JobState job;
    RecordingReporters ui;
    FakeClock clock;
    ScriptedLauncher launcher;
    JobDisplay display;
    ToolRunner runner;
    std::string source = "/media/my clip.avi";
};

const char* kAviIdentify = "ID_VIDEO_FORMAT=XVID\nID_VIDEO_WIDTH=640\nID_VIDEO_HEIGHT=480\nID_VIDEO_FPS=25.000\n"
                           "ID_AUDIO_FORMAT=85\nID_AUDIO_BITRATE=0\nID_AUDIO_RATE=0\nID_AUDIO_NCH=0\n"
                           "ID_LENGTH=12.34\nID_DEMUXER=avi\nID_VIDEO_CODEC=ffodivx\n"
                           "ID_AUDIO_BITRATE=448000\nID_AUDIO_RATE=44100\nID_AUDIO_NCH=1\nID_AUDIO_CODEC=mpg123\n";

} // namespace

TEST(AnalyseSource, ReadsTheIdentifyLines)
{
    ProbeRig rig;
    EXPECT_EQ(rig.probe(kAviIdentify), "");
    const JobState& j = rig.job;
    EXPECT_EQ(j.srcWidth, 640);
    EXPECT_EQ(j.srcHeight, 480);
    EXPECT_FLOAT_EQ(j.srcFps, 25);
    EXPECT_FLOAT_EQ(j.srcLength, 12.4f); // rounded up to the next tenth
    EXPECT_EQ(j.srcDemuxer, "avi");
    EXPECT_EQ(j.srcVideoFormat, "xvid");
    EXPECT_EQ(j.srcAudioCodec, "mpg123");
    EXPECT_EQ(j.srcAudioBitrate, 128); // 448 kbit/s is not believed
    EXPECT_EQ(j.srcAudioRate, 44100);  // read after the decoders opened, not the header's 0
    EXPECT_EQ(j.srcAudioChannels, 1);
    EXPECT_EQ(rig.launcher.started.front(),
              rig.paths.toolPath(1) + " -identify -ao null -vo null -frames 0 \"/media/my clip.avi\"");
}

TEST(AnalyseSource, SoundValuesBeforeTheCodecLineAreNotRead)
{
    ProbeRig rig;
    rig.probe("ID_AUDIO_BITRATE=192000\nID_AUDIO_RATE=48000\nID_VIDEO_CODEC=ffh264\nID_LENGTH=3.0\n");
    EXPECT_EQ(rig.job.srcAudioBitrate, 64);
    EXPECT_EQ(rig.job.srcAudioRate, 22050);
    EXPECT_EQ(rig.job.srcAudioChannels, 2);
    rig.probe("ID_AUDIO_BITRATE=192000\nID_AUDIO_RATE=48000\nID_AUDIO_NCH=6\nID_LENGTH=3.0\n"); // no codec line
    EXPECT_EQ(rig.job.srcAudioBitrate, 192);
    EXPECT_EQ(rig.job.srcAudioRate, 48000);
    EXPECT_EQ(rig.job.srcAudioChannels, 6);
}

TEST(AnalyseSource, LengthAndRateCorrections)
{
    ProbeRig rig;
    rig.probe("ID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_VIDEO_FPS=1000.000\nID_LENGTH=123456.7\nID_DEMUXER=lavf\n");
    EXPECT_FLOAT_EQ(rig.job.srcLength, 99999);
    EXPECT_FLOAT_EQ(rig.job.srcFps, 30);
    rig.probe("ID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_LENGTH=12.3\n");
    EXPECT_FLOAT_EQ(rig.job.srcLength, 12.3f); // already a tenth: stays
    EXPECT_FLOAT_EQ(rig.job.srcFps, 30);       // a picture without a rate gets 30
    // Sound only: no picture, no rate, whatever the player said.
    rig.probe("ID_VIDEO_FPS=25.000\nID_LENGTH=0\nID_DEMUXER=audio\nID_AUDIO_CODEC=ffmp3float\n");
    EXPECT_EQ(rig.job.srcWidth, 0);
    EXPECT_FLOAT_EQ(rig.job.srcFps, 0);
    EXPECT_FLOAT_EQ(rig.job.srcLength, 0);
}

TEST(AnalyseSource, SizesNoPictureHasAreNotRead)
{
    // Their area would overflow; such a picture is nothing FFmpeg can convert anyway.
    ProbeRig rig;
    rig.probe("ID_VIDEO_WIDTH=100000\nID_VIDEO_HEIGHT=100000\nID_VIDEO_FPS=25.000\nID_LENGTH=1.0\n");
    EXPECT_EQ(rig.job.srcWidth, 0);
    EXPECT_EQ(rig.job.srcHeight, 0);
    rig.probe("ID_VIDEO_WIDTH=32768\nID_VIDEO_HEIGHT=240\nID_VIDEO_FPS=25.000\nID_LENGTH=1.0\n");
    EXPECT_EQ(rig.job.srcWidth, 32768);
}

TEST(AnalyseSource, MpegLengthComesFromTheConverter)
{
    ProbeRig rig;
    rig.launcher.onOutput("ZevraRes3.exe -i",
                          "Input #0, mpeg, from 'x':\n  Duration: 00:01:05.43, start: 0.500000, bitrate: 1 kb/s\n");
    rig.probe("ID_VIDEO_WIDTH=352\nID_VIDEO_HEIGHT=240\nID_VIDEO_FPS=29.970\nID_LENGTH=60.00\nID_DEMUXER=mpegps\n");
    EXPECT_FLOAT_EQ(rig.job.srcLength, 65.5f);
    EXPECT_FLOAT_EQ(rig.job.srcTimeShift, 0); // the start time is not used here
    EXPECT_NE(rig.launcher.started.back().find("ZevraRes3.exe -i \"/media/my clip.avi\""), std::string::npos);
}

TEST(AnalyseSource, AsfRateRepair)
{
    ProbeRig rig;
    const std::string asf = "ID_VIDEO_FORMAT=WMV2\nID_VIDEO_WIDTH=320\nID_VIDEO_HEIGHT=240\nID_VIDEO_FPS=1000.000\n"
                            "ID_LENGTH=20.00\nID_DEMUXER=asf\n";
    rig.launcher.onOutput("ZevraRes3.exe -i", "  Duration: 00:00:20.00, bitrate: 1 kb/s\n");
    rig.probe(asf);
    EXPECT_FLOAT_EQ(rig.job.srcTimeShift, 3); // no start time: 3 s assumed
    EXPECT_FLOAT_EQ(rig.job.srcLength, 17);
    EXPECT_FLOAT_EQ(rig.job.srcFps, 30);

    for (auto [rate, expected] : {std::pair{"29.5", 29.97f}, {"25", 25.0f}, {"60", 30.0f}}) {
        ProbeRig r;
        r.launcher.onOutput("ZevraRes3.exe -i", std::string("  Duration: 00:00:20.00, start: 1.500000, bitrate: 1\n"
                                                            "    Stream #0:1: Video: wmv2, yuv420p, 320x240, ") +
                                                    rate + " tb(r), 1k tbn\n");
        r.probe(asf);
        EXPECT_FLOAT_EQ(r.job.srcTimeShift, 1.5f);
        EXPECT_FLOAT_EQ(r.job.srcLength, 18.5f);
        EXPECT_FLOAT_EQ(r.job.srcFps, expected) << rate;
    }
}

TEST(AnalyseSource, GifFramesAreCounted)
{
    ProbeRig rig;
    const std::string gif = "ID_DEMUXER=gif\nVIDEO:  [\bRGB]  160x120  24bpp  100.000 fps    0.0 kbps ( 0.0 kbyte/s)\n";
    rig.launcher.onOutput("-fps 10000", "V:   0.1   1/  1 ??% ??% ??,?% 0 0 \rV:   1.9  19/ 19 ??% ??% ??,?% 0 0 \n");
    EXPECT_EQ(rig.probe(gif), "Animated Gifs");
    EXPECT_EQ(rig.job.srcWidth, 160);
    EXPECT_EQ(rig.job.srcHeight, 120);
    EXPECT_EQ(rig.job.srcGifFrames, 19);
    EXPECT_FLOAT_EQ(rig.job.srcLength, 1.9f);
    EXPECT_FLOAT_EQ(rig.job.srcFps, 10);

    ProbeRig single;
    single.launcher.onOutput("-fps 10000", "V:   0.0   1/  1 ??% ??% ??,?% 0 0 \n");
    EXPECT_EQ(single.probe(gif), "Static Gif");

    ProbeRig silent;
    EXPECT_EQ(silent.probe(gif), ""); // the pass printed no "V:"
    EXPECT_FLOAT_EQ(silent.job.srcLength, 0);
}

TEST(AnalyseSource, MissingPlayerIsReportedAndNothingRuns)
{
    ProbeRig rig;
    std::filesystem::remove(rig.dir.file("plugins/ZevraRes1.exe"));
    EXPECT_EQ(rig.probe(kAviIdentify), "");
    EXPECT_EQ(rig.ui.messages, (std::vector<std::string>{rig.lang[Msg::PluginsMissing]}));
    EXPECT_TRUE(rig.launcher.started.empty());
    EXPECT_EQ(rig.job.srcWidth, 0);
}
