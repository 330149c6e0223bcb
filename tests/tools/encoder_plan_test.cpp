#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/filter_escape.h"
#include "encoder/video_chain.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace qorvid::tools;

namespace {

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

struct Planned {
    FfmpegPlan plan;
    // The value after an option ("" when absent).
    std::string operator[](const std::string& option) const
    {
        const auto& a = plan.args;
        for (size_t i = 0; i + 1 < a.size(); ++i)
            if (a[i] == option) return a[i + 1];
        return {};
    }
    bool has(const std::string& word) const
    {
        return std::find(plan.args.begin(), plan.args.end(), word) != plan.args.end();
    }
};

Planned plan(const std::string& options, SourceInfo source = {true, true, 320, 240, 10})
{
    auto parsed = parseEncoderArguments(words(options + " in.avi -o out.x"));
    EXPECT_EQ(parsed.error, "");
    PlanContext ctx;
    ctx.source = source;
    ctx.output = "tmp.out";
    return {planFfmpegRun(parsed.options, ctx)};
}

const std::string tail = " -vf-add scale=320:240 -delay 0 -channels 2 -srate 44100 -af-add channels=2"
                         " -vf-add harddup -mc 1";

} // namespace

TEST(EncoderPlan, VideoTargetsMapToTheirContainersAndCodecs)
{
    struct Row {
        const char* name;
        std::string options;
        const char* muxer;
        const char* video;
        const char* audio;
    };
    const Row rows[] = {
        {"MPEG1", "-oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:keyint=23:vrc_buf_size=1200:vrc_minrate=1200:vrc_maxrate=1200:vbitrate=1200:acodec=mp2:abitrate=64 -ofps 25",
         "vcd", "mpeg1video", "mp2"},
        {"DVD", "-oac lavc -ovc lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts vcodec=mpeg2video:keyint=18:vrc_buf_size=1835:vrc_maxrate=9000:vbitrate=4800:vstrict=0:acodec=ac3:abitrate=320 -ofps 30000/1001",
         "dvd", "mpeg2video", "ac3"},
        {"MPEG2", "-oac lavc -ovc lavc -of mpeg -mpegopts format=mpeg2 -lavcopts vcodec=mpeg2video:keyint=23:vrc_buf_size=3000:vrc_maxrate=9000:vbitrate=3000:vstrict=0:acodec=mp2:abitrate=64 -ofps 25",
         "vob", "mpeg2video", "mp2"},
        {"WMV8", "-oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv2:keyint=23:vbitrate=800:acodec=wmav2:abitrate=64 -ofps 25",
         "asf", "wmv2", "wmav2"},
        {"XviD", "-noodml -ofps 25 -ovc xvid -xvidencopts max_key_interval=23:bitrate=800:max_bframes=0:quant_type=h263:me_quality=4 -oac mp3lame -lameopts cbr:br=64",
         "avi", "libxvid", "libmp3lame"},
        {"H.264", "-noodml -ofps 25 -ovc x264 -x264encopts keyint=23:bitrate=800:bframes=0 -oac mp3lame -lameopts cbr:br=64",
         "avi", "libx264", "libmp3lame"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Planned p = plan(row.options + tail);
        ASSERT_EQ(p.plan.error, "");
        EXPECT_EQ(p["-f"], row.muxer);
        EXPECT_EQ(p["-c:v"], row.video);
        EXPECT_EQ(p["-c:a"], row.audio);
        EXPECT_EQ(p["-fps_mode"], "cfr");
        EXPECT_EQ(p.plan.args.back(), "tmp.out");
    }
    Planned mpeg1 = plan(rows[0].options + tail);
    EXPECT_EQ(mpeg1["-b:v"], "1200000");
    EXPECT_EQ(mpeg1["-minrate"], "1200000");
    EXPECT_EQ(mpeg1["-bufsize"], "1200000");
    EXPECT_EQ(mpeg1["-g"], "23");
    EXPECT_EQ(mpeg1["-b:a"], "64000");
    EXPECT_EQ(mpeg1["-ar"], "44100");
    EXPECT_EQ(mpeg1["-ac"], "2");
    EXPECT_EQ(plan(rows[4].options + tail)["-tag:v"], "XVID");
    EXPECT_EQ(plan(rows[4].options + tail)["-bf"], "0");
}

TEST(EncoderPlan, CopiedPictureIsCutFromTheKeyFrameAtOrAfterTheStart)
{
    std::string cut = "-noodml -ovc copy -oac copy -ss 00:00:02.5 -endpos 00:00:02.0 -vf-add harddup -mc 0";
    auto parsed = parseEncoderArguments(words(cut + " in.avi -o out.avi"));
    PlanContext ctx;
    ctx.source = {true, true, 320, 240, 10};
    ctx.source.startKeyFrame = 2.8;
    ctx.output = "tmp";
    FfmpegPlan p = planFfmpegRun(parsed.options, ctx);
    ASSERT_EQ(p.error, "");
    EXPECT_FALSE(std::count(p.args.begin(), p.args.end(), "-vf"));
    EXPECT_FALSE(std::count(p.args.begin(), p.args.end(), "-af"));
    // A quick seek to before the key frame, then exactly to it, and -endpos long from there.
    auto at = std::find(p.args.begin(), p.args.end(), "-i");
    std::vector<std::string> around(at - 2, at + 4);
    EXPECT_EQ(around, (std::vector<std::string>{"-ss", "1.8", "-i", "in.avi", "-ss", "1"}));
    EXPECT_EQ(*(std::find(p.args.begin(), p.args.end(), "-t") + 1), "2");
    EXPECT_DOUBLE_EQ(p.expectedSeconds, 2);

    // An encoded picture is cut exactly where asked.
    Planned encoded = plan("-ovc lavc -oac mp3lame -ss 2.5 -endpos 2");
    EXPECT_EQ(encoded["-ss"], "2.5");
    EXPECT_EQ(encoded["-t"], "2");
}

TEST(EncoderPlan, SoundOptions)
{
    Planned p = plan("-ovc copy -oac mp3lame -lameopts cbr:br=128 -delay -0.5 -af-add volume=6 -af-add volnorm -mc 0");
    EXPECT_EQ(p["-af"], "adelay=delays=500:all=1,volume=6dB,dynaudnorm");
    EXPECT_EQ(plan("-ovc copy -oac pcm -delay 0.25")["-af"], "atrim=start=0.25,asetpts=PTS-STARTPTS");
    Planned none = plan("-ovc copy -oac mp3lame -nosound");
    EXPECT_TRUE(none.has("-an"));
    EXPECT_FALSE(none.has("-c:a"));
    // A source without sound needs no sound encoder.
    EXPECT_EQ(plan("-ovc copy", {true, false, 320, 240, 3}).plan.error, "");
}

TEST(EncoderPlan, PictureFiltersFollowMEncoderMeaning)
{
    auto graph = [](const std::string& vf) {
        auto parsed = parseEncoderArguments(words("-ovc lavc -oac copy -vf-add " + vf + " a -o b"));
        PlanContext ctx;
        ctx.source = {true, true, 320, 240, 5};
        VideoChain c = buildVideoChain(parsed.options, ctx);
        EXPECT_EQ(c.error, "");
        return c;
    };
    EXPECT_EQ(graph("rotate=0").graph, "transpose=0");
    EXPECT_EQ(graph("rotate=3").graph, "transpose=3");
    EXPECT_EQ(graph("rotate=1").width, 240);
    EXPECT_EQ(graph("flip,mirror").graph, "vflip,hflip");
    EXPECT_EQ(graph("eq=10:0").graph, "eq=brightness=0.1:contrast=1");
    EXPECT_EQ(graph("eq2=1:1:0:0.8").graph, "eq=gamma=1:contrast=1:brightness=0:saturation=0.8");
    EXPECT_EQ(graph("hue=-4:1").graph, "hue=h=-4:s=1");
    VideoChain borders = graph("scale=720:544,expand=720:576:0:16:1");
    EXPECT_EQ(borders.graph, "scale=720:544,pad=max(iw\\,720):max(ih\\,576):min(0\\,(ow-iw)):min(16\\,(oh-ih)):black");
    EXPECT_EQ(borders.width, 720);
    EXPECT_EQ(borders.height, 576);
    VideoChain cropped = graph("crop=302:200:10:20,scale=160:120");
    EXPECT_EQ(cropped.graph, "crop=302:200:10:20,scale=160:120");
    EXPECT_EQ(graph("expand=0:-50:0:0").graph,
              "pad=iw:ih+50:min(0\\,(ow-iw)):min(0\\,(oh-ih)):black");
    EXPECT_TRUE(graph("harddup,screenshot").constantRate);
}

TEST(EncoderPlan, SubtitleFileNamesSurviveTheFilterGraph)
{
    EXPECT_EQ(escapeFilterValue("/a b/it's:x,y[1];z\\w.srt"),
              "/a b/it\\\\\\'s\\\\:x\\,y\\[1\\]\\;z\\\\\\\\w.srt");
    auto parsed = parseEncoderArguments(
        words("-ovc lavc -oac copy -ss 3 -sub /s/a.srt -subdelay 1 -subpos 90 -subfont-text-scale 5 in -o out"));
    PlanContext ctx;
    ctx.source = {true, true, 320, 240, 5};
    ctx.fontFamily = "DejaVu Sans";
    parsed.options.subtitles.font = "/fonts/DejaVuSans.ttf";
    std::string g = buildVideoChain(parsed.options, ctx).graph;
    EXPECT_EQ(g.rfind("setpts=PTS+(2)/TB,subtitles=filename=/s/a.srt:fontsdir=/fonts/:force_style=", 0), 0u) << g;
    EXPECT_NE(g.find("FontName=DejaVu Sans\\,Fontsize=24"), std::string::npos) << g;
    EXPECT_NE(g.find("MarginV=29"), std::string::npos) << g;
    EXPECT_EQ(g.substr(g.size() - 18), ",setpts=PTS-(2)/TB") << g;
}

TEST(EncoderPlan, UnknownOrUnsupportedPiecesAreRefused)
{
    auto error = [](const std::string& options) {
        auto parsed = parseEncoderArguments(words(options + " in -o out"));
        if (!parsed.error.empty()) return parsed.error;
        PlanContext ctx;
        ctx.source = {true, true, 320, 240, 5};
        return planFfmpegRun(parsed.options, ctx).error;
    };
    EXPECT_EQ(error("-ovc lavc -oac copy -vf-add tfields"), "unknown video filter -vf tfields");
    EXPECT_EQ(error("-ovc lavc -oac pcm -af-add karaoke"), "unknown audio filter -af karaoke");
    EXPECT_EQ(error("-ovc lavc -lavcopts vcodec=mpeg4:turbo_mode=1 -oac copy"), "unknown -lavcopts item: turbo_mode");
    EXPECT_EQ(error("-ovc raw -oac copy"), "unsupported video encoder -ovc raw");
    EXPECT_EQ(error("-ovc copy"), "no audio encoder given (-oac); use -nosound for none");
    EXPECT_EQ(error("-ovc copy -oac copy -of mpeg -mpegopts format=pes1"), "unsupported -mpegopts format: pes1");
    // Found by fuzzing: sizes beyond any picture overflowed the size kept for later filters.
    EXPECT_EQ(error("-ovc lavc -oac copy -vf scale=11111111111111111111:-2"),
              "bad value in -vf scale: 11111111111111111111");
    EXPECT_EQ(error("-ovc lavc -oac copy -vf rotate=1e300"), "bad value in -vf rotate: 1e300");
    EXPECT_EQ(error("-ovc lavc -oac pcm -af lavcresample=4294967296"), "bad value in -af lavcresample");
}

TEST(EncoderPlan, FrameRatesThatStandForNtscRatesBecomeExact)
{
    EXPECT_EQ(normaliseFrameRate("29.97"), "30000/1001");
    EXPECT_EQ(normaliseFrameRate("23.976"), "24000/1001");
    EXPECT_EQ(normaliseFrameRate("59.94"), "60000/1001");
    EXPECT_EQ(normaliseFrameRate("25"), "25");
    EXPECT_EQ(normaliseFrameRate("12.5"), "12.5");
    EXPECT_EQ(normaliseFrameRate("30000/1001"), "30000/1001");
    EXPECT_EQ(normaliseFrameRate("fast"), "");
}
