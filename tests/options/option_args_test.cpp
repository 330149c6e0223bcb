#include "app/lang_text.h"
#include "support/lang.h"
#include "media/job_state.h"
#include "options/option_args.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::tw;

namespace {

JobState job720(TargetKind kind, int w, int h)
{
    JobState job;
    job.srcWidth = 720;
    job.srcHeight = 576;
    job.targetKind = kind;
    job.targetExt = "avi";
    job.targetWidth = w;
    job.targetHeight = h;
    return job;
}
} // namespace

TEST(OptionArgs, PlainConversionFragments)
{
    ConversionOptions o;
    const JobState job = job720(TargetKind::DivX, 352, 288);
    EXPECT_EQ(sizeArgs(o, job).args, " -vf-add scale=352:288");
    EXPECT_EQ(colorArgs(o), "");
    EXPECT_EQ(rotateArgs(o.cboRotate), "");
    EXPECT_EQ(volumeArgs(o, job, tw()), "");
    EXPECT_EQ(buildAudioArgs(o, job, tw()), " -delay 0 -channels 2 -srate 44100 -af-add channels=2");
}

TEST(OptionArgs, BordersWithoutCrop)
{
    ConversionOptions o;
    o.txtExpand = {"16", "16", "0", "0"};
    auto dvd = sizeArgs(o, job720(TargetKind::Dvd, 720, 576)); // fixed frame: the picture shrinks
    EXPECT_EQ(dvd.args, " -vf-add scale=720:544,expand=720:576:0:16:1");
    EXPECT_EQ(dvd.finalWidth * 10000 + dvd.finalHeight, 720 * 10000 + 576);

    o.txtExpand = {"0", "0", "16", "16"};
    auto avi = sizeArgs(o, job720(TargetKind::DivX, 640, 480)); // free frame: the picture grows
    EXPECT_EQ(avi.args, " -vf-add scale=640:480,expand=672:480:16:0:1");
    EXPECT_EQ(avi.finalWidth, 672);

    o.txtExpand = {"300", "300", "0", "0"}; // never below 8 pixels
    EXPECT_EQ(sizeArgs(o, job720(TargetKind::Vcd, 352, 240)).args, " -vf-add scale=352:8,expand=352:240:0:300:1");
}

TEST(OptionArgs, CropChains)
{
    ConversionOptions o;
    o.hasCrop = true;
    o.previewWidth = 640;
    o.previewHeight = 480;
    o.crop = {10, 20, 311, 219}; // 301 × 199 at scale 1
    auto scaleFirst = sizeArgs(o, job720(TargetKind::DivX, 640, 480));
    EXPECT_EQ(scaleFirst.args, " -vf-add scale=640:480 -vf-add crop=302:200:10:20");
    EXPECT_EQ(scaleFirst.cropRect, (std::array<std::int32_t, 5>{1, 10, 20, 311, 219}));
    EXPECT_EQ(scaleFirst.finalWidth * 10000 + scaleFirst.finalHeight, 302 * 10000 + 200);

    o.optScaleCrop = 1; // crop in source pixels (720/640 = 1.125, 576/480 = 1.2)
    o.crop = {10, 10, 330, 250};
    o.txtExpand = {"0", "0", "8", "8"};
    auto cropFirst = sizeArgs(o, job720(TargetKind::DivX, 640, 480));
    EXPECT_EQ(cropFirst.args, " -vf-add crop=360:288:11:12 -vf-add scale=640:480 -vf-add expand=656:480:8:0:1");
    EXPECT_EQ(cropFirst.finalWidth, 656);

    o.optScaleCrop = 0;
    o.txtExpand = {"16", "16", "0", "0"};
    auto fixed = sizeArgs(o, job720(TargetKind::Dvd, 720, 576));
    EXPECT_EQ(fixed.args, " -vf-add scale=720:544 -vf-add crop=360:288:11:12 -vf-add expand=720:576:0:16:1");

    o.previewWidth = 0; // no preview size: the rectangle cannot be used
    EXPECT_EQ(sizeArgs(o, job720(TargetKind::Dvd, 720, 576)).cropRect[0], 0);
}

TEST(OptionArgs, ColourChain)
{
    ConversionOptions o;
    o.brightness = 10;
    EXPECT_EQ(colorArgs(o), " -vf-add eq=10:0");
    o = {};
    o.saturation = -20;
    EXPECT_EQ(colorArgs(o), " -vf-add eq2=1:1:0:0.8");
    o.saturation = 100;
    EXPECT_EQ(colorArgs(o), " -vf-add eq2=1:1:0:3");
    o.saturation = -100;
    EXPECT_EQ(colorArgs(o), " -vf-add eq2=1:1:0:0");
    o = {};
    o.hue = -2;
    EXPECT_EQ(colorArgs(o), " -vf-add hue=-4:1");
    o.hue = 10;
    o.saturation = 2;
    o.contrast = -6;
    EXPECT_EQ(colorArgs(o), " -vf-add hue=18:1 -vf-add eq2=1:1:0:1.04 -vf-add eq=0:-6");
}

TEST(OptionArgs, VolumeBySoundOrVideoTarget)
{
    ConversionOptions o;
    o.volume = 6;
    EXPECT_EQ(volumeArgs(o, job720(TargetKind::Mp3, 0, 0), tw()), " -vol 316");
    EXPECT_EQ(volumeArgs(o, job720(TargetKind::DivX, 0, 0), tw()), " -af-add volume=6");
    o.volume = -100;
    EXPECT_EQ(volumeArgs(o, job720(TargetKind::Mp3, 0, 0), tw()), " -vol 0");
    o.volume = 100;
    EXPECT_EQ(volumeArgs(o, job720(TargetKind::Mp3, 0, 0), tw()), " -vol 1256");
}

TEST(OptionArgs, AudioFragment)
{
    ConversionOptions o;
    o.txtAudioDelay = "0.5";
    o.chkAudioVolnorm = true;
    o.cboAudioSample = "22050";
    EXPECT_EQ(buildAudioArgs(o, job720(TargetKind::XviD, 0, 0), tw()),
              " -delay -0.5 -channels 2 -srate 22050 -af-add channels=2 -af-add volnorm");

    JobState wmvCut = job720(TargetKind::OnlyCut, 0, 0);
    wmvCut.targetExt = "wmv";
    wmvCut.srcAudioChannels = 1;
    wmvCut.srcAudioRate = 32000;
    o.txtAudioDelay = "-1.5";
    EXPECT_EQ(buildAudioArgs(o, wmvCut, tw()),
              " -delay 1.5 -channels 1 -srate 32000 -af-add channels=1 -af-add volnorm");

    EXPECT_EQ(buildAudioArgs(o, job720(TargetKind::Ogg, 0, 0), tw()), " -ac 2 -ar 22050");
    o.optAudio = 1;
    EXPECT_EQ(buildAudioArgs(o, job720(TargetKind::XviD, 0, 0), tw()), " -nosound");
}

TEST(OptionArgs, SubtitleFragment)
{
    ConversionOptions o;
    o.optSub = 1;
    o.txtSubFile = " /s/a.srt ";
    o.subFontFile = "/f/kai.ttf";
    o.cboSubcp = "繁體中文 - cp950";
    EXPECT_EQ(buildSubtitleArgs(o, job720(TargetKind::DivX, 0, 0), tw()),
              " -sub \"/s/a.srt\" -font \"/f/kai.ttf\" -subfont-text-scale 4 -subfont-outline 2 -subfont-blur 2"
              " -subpos 95 -subdelay 0 -subcp cp950");

    o.subFontFile.clear();
    o.cboSubcp = "預設編碼";
    o.txtSubDelay = "2";
    o.txtSubPosHgt = "10";
    o.txtSubSize = "150";
    o.txtSubOutline = "9";
    EXPECT_EQ(buildSubtitleArgs(o, job720(TargetKind::DivX, 0, 0), tw()),
              " -sub \"/s/a.srt\" -subfont-text-scale 100 -subfont-outline 8 -subfont-blur 2 -subpos 90 -subdelay -2");

    for (TargetKind kind : {TargetKind::OnlyCut, TargetKind::AudIsMp3, TargetKind::Mp3}) {
        EXPECT_EQ(buildSubtitleArgs(o, job720(kind, 0, 0), tw()), "") << kindKey(kind);
        EXPECT_NE(buildSubtitleArgs(o, job720(kind, 0, 0), tw(), true), "") << kindKey(kind); // the preview still shows them
    }
    o.pageMasked[kPageSubtitle] = true;
    EXPECT_EQ(buildSubtitleArgs(o, job720(TargetKind::DivX, 0, 0), tw()), "");
    o.optSub = 0;
    EXPECT_EQ(buildSubtitleArgs(o, job720(TargetKind::DivX, 0, 0), tw(), true), "");
}
