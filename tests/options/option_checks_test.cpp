#include "app/lang_text.h"
#include "support/lang.h"
#include "media/format_catalog.h"
#include "media/job_state.h"
#include "options/option_args.h"
#include "options/option_checks.h"
#include "options/option_lists.h"
#include "options/option_presets.h"
#include "support/fakes.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::tw;
using qorvid::test::RecordingReporters;

namespace {

// Options that pass every check, for a DivX target.
ConversionOptions validOptions()
{
    ConversionOptions o;
    o.cboFpsList = fillFpsList(tw(), false);
    o.cboFps = "25";
    o.cboVideoBitrate = "1152  (品質中)";
    o.cboAudioBitrate = "128";
    o.txtSize = {"352", "288"};
    return o;
}

JobState divxJob()
{
    JobState job;
    job.srcWidth = 720;
    job.srcHeight = 576;
    job.srcFps = 25;
    job.targetKind = TargetKind::DivX;
    job.targetExt = "avi";
    return job;
}
} // namespace

TEST(OptionChecks, FrameRateRange)
{
    ConversionOptions o = validOptions();
    o.cboFps = "與來源影音相同";
    EXPECT_FALSE(checkFrameRate(o, tw()));
    o.cboFps = "30";
    EXPECT_FALSE(checkFrameRate(o, tw()));
    o.cboFps = "4.9";
    auto f = checkFrameRate(o, tw());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, Msg::FrameRateRange);
    EXPECT_EQ(f->page, kPageFrameRate);
    EXPECT_EQ(f->text, "影格速率的數值範圍，必須在 5 ~ 30 之間");

    // A typed value shows the second item as the lower bound; a chosen item shows 5.
    o.cboFpsList = fillFpsList(tw(), true);
    o.cboFps = "31";
    EXPECT_EQ(checkFrameRate(o, tw())->text, "影格速率的數值範圍，必須在 24 ~ 30 之間");
    o.cboFpsIndex = 2;
    EXPECT_EQ(checkFrameRate(o, tw())->text, "影格速率的數值範圍，必須在 5 ~ 30 之間");
}

TEST(OptionChecks, BitRateAndSizeBounds)
{
    ConversionOptions o = validOptions();
    for (const char* ok : {"32", "9000", "與來源影音相同"}) {
        o.cboVideoBitrate = ok;
        EXPECT_FALSE(checkVideoBitrate(o, tw())) << ok;
    }
    o.cboVideoBitrate = "31";
    EXPECT_EQ(checkVideoBitrate(o, tw())->message, Msg::VideoBitrateRange);
    o.cboAudioBitrate = "321";
    EXPECT_EQ(checkAudioBitrate(o, tw())->page, kPageAudio);

    for (const char* ok : {"8", "1280"}) {
        o.txtSize = {ok, ok};
        EXPECT_FALSE(checkWidth(o, tw()) || checkHeight(o, tw())) << ok;
    }
    for (const char* bad : {"7", "1281", ""}) {
        o.txtSize = {bad, bad};
        EXPECT_EQ(checkWidth(o, tw())->message, Msg::WidthRange) << bad;
        EXPECT_EQ(checkHeight(o, tw())->message, Msg::HeightRange) << bad;
    }
    o.pageMasked[kPageVideo] = true; // nothing to check where nothing can be changed
    EXPECT_FALSE(checkWidth(o, tw()));
}

TEST(OptionChecks, FlipAgainstTopAndBottomBorders)
{
    ConversionOptions o = validOptions();
    o.cboRotate = 2;
    o.txtExpand = {"2", "0", "0", "0"};
    auto f = checkRotateBorders(o, tw());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, Msg::FlipWithVerticalBorders);
    EXPECT_EQ(f->field, OptionField::ExpandTop);
    o.cboRotate = 3;
    o.txtExpand = {"0", "4", "0", "0"};
    EXPECT_EQ(checkRotateBorders(o, tw())->field, OptionField::ExpandBottom);
    o.txtExpand = {"0", "0", "8", "8"};
    EXPECT_FALSE(checkRotateBorders(o, tw()));
    o.cboRotate = 1; // mirror with a top border is fine
    o.txtExpand = {"2", "0", "0", "0"};
    EXPECT_FALSE(checkRotateBorders(o, tw()));
}

TEST(OptionChecks, SubtitleFile)
{
    test::TempDir dir;
    test::writeFile(dir.file("a.srt"), "1\n");
    ConversionOptions o = validOptions();
    JobState job = divxJob();
    o.optSub = 1;
    o.txtSubFile = "  ";
    auto f = checkSubtitleFile(o, job, tw());
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, Msg::EnterSubtitleFile);
    EXPECT_EQ(f->page, kPageSubtitle);
    o.txtSubFile = dir.file("b.srt");
    EXPECT_EQ(checkSubtitleFile(o, job, tw())->text, "該字幕檔案不存在\r\n\r\n" + dir.file("b.srt"));
    o.txtSubFile = dir.file("a.srt") + " ";
    EXPECT_FALSE(checkSubtitleFile(o, job, tw()));

    o.txtSubFile.clear(); // not checked where subtitles cannot go
    job.targetKind = TargetKind::OnlyCut;
    EXPECT_FALSE(checkSubtitleFile(o, job, tw()));
}

TEST(ApplyOptions, WritesTheJobAndTheFragments)
{
    ConversionOptions o = validOptions();
    JobState job = divxJob();
    RecordingReporters rec;
    o.txtExpand = {"", "x", "16", "16"};
    o.txtAudioDelay = "abc";
    o.cboRotate = 5;
    o.hue = 10;
    o.lblMark = {12.5f, 42.0f};
    o.formatCaption = "DivX + MP3";

    OkOutcome out = applyOptions(o, job, tw(), rec);
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(o.txtExpand, (std::array<std::string, 4>{"0", "0", "16", "16"}));
    EXPECT_EQ(o.txtAudioDelay, "0");
    EXPECT_EQ(job.fpsText, "25");
    EXPECT_EQ(job.targetWidth, 352);
    EXPECT_EQ(job.sizeArgs, " -vf-add scale=352:288,expand=384:288:16:0:1");
    EXPECT_EQ(job.rotateArgs, " -vf-add rotate=0");
    EXPECT_EQ(job.colorArgs, " -vf-add hue=18:1");
    EXPECT_EQ(job.audioArgs, " -delay 0 -channels 2 -srate 44100 -af-add channels=2");
    EXPECT_EQ(job.markStart, 12.5f);
    EXPECT_EQ(job.markEnd, 42.0f);
    EXPECT_TRUE(rec.messages.empty()); // rotation without subtitles: no warning
    EXPECT_NE(out.summary.find("畫面最後大小 = 384 x 288\r\n"), std::string::npos);
    EXPECT_NE(out.summary.find("設定目標影音格式 = DivX + MP3\r\n"), std::string::npos);

    // A start mark alone is no range.
    o.lblMark = {12.5f, std::nullopt};
    ASSERT_TRUE(applyOptions(o, job, tw(), rec).ok());
    EXPECT_EQ(job.markStart, 0.0f);
    EXPECT_EQ(job.markEnd, 0.0f);
    EXPECT_FALSE(o.lblMark[0]);
}

TEST(ApplyOptions, StopsAtTheFirstFailureWithEarlierFieldsWritten)
{
    ConversionOptions o = validOptions();
    JobState job = divxJob();
    RecordingReporters rec;
    o.cboFps = "20";
    o.txtSize = {"1281", "288"};
    OkOutcome out = applyOptions(o, job, tw(), rec);
    ASSERT_FALSE(out.ok());
    EXPECT_EQ(out.failure->message, Msg::WidthRange);
    EXPECT_EQ(job.fpsText, "20");
    EXPECT_EQ(job.audioBitrateText, "128");
    EXPECT_EQ(job.targetWidth, 0);
    EXPECT_EQ(job.sizeArgs, "");
    EXPECT_TRUE(rec.messages.empty()); // the caller shows the failure on its page
}

TEST(ApplyOptions, RotationWithSubtitlesWarnsButContinues)
{
    test::TempDir dir;
    test::writeFile(dir.file("a.srt"), "1\n");
    ConversionOptions o = validOptions();
    JobState job = divxJob();
    RecordingReporters rec;
    o.optSub = 1;
    o.txtSubFile = dir.file("a.srt");
    o.cboRotate = 7;
    ASSERT_TRUE(applyOptions(o, job, tw(), rec).ok());
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_EQ(rec.messages[0], tw()[Msg::SubtitleRotationNote]);
    EXPECT_EQ(job.rotateArgs, " -vf-add rotate=3");
    EXPECT_FALSE(job.subtitleArgs.empty());
}

TEST(OptionPresets, EveryKindPassesTheChecks)
{
    struct Source { int w, h; float fps; bool picture; };
    for (const Source& src : {Source{1920, 1080, 29.97f, true}, Source{352, 288, 12.5f, true},
                              Source{640, 480, 3.0f, true}, Source{0, 0, 0, false}}) {
        for (const auto& e : formatCatalog()) {
            if (!src.picture && e.group != TargetGroup::Sound) continue; // music only becomes sound
            JobState job;
            job.srcWidth = src.w;
            job.srcHeight = src.h;
            job.srcFps = src.fps;
            job.targetKind = e.kind;
            job.targetExt = e.group == TargetGroup::QuickOp ? e.ext.substr(0, 3) : e.ext;
            job.targetWidth = std::min(src.w, 1280);
            job.targetHeight = src.w > 1280 ? 720 : src.h;
            OptionPreset p = presetForKind(job, tw(), formatCaption(e, tw()));
            RecordingReporters rec;
            OkOutcome out = applyOptions(p.options, job, tw(), rec);
            EXPECT_TRUE(out.ok()) << e.key << " " << src.w << " " << (out.failure ? out.failure->text : "");
        }
    }
}

TEST(OptionPresets, ChoicesByKind)
{
    JobState job = divxJob();
    job.srcFps = 12.5f;
    job.targetWidth = 720;
    job.targetHeight = 576;

    job.targetKind = TargetKind::Vcd;
    job.targetExt = "dat";
    OptionPreset vcd = presetForKind(job, tw(), "VCD");
    EXPECT_EQ(vcd.options.cboFps, "29.97  (一般)");
    EXPECT_EQ(vcd.options.cboAudioBitrate, "224  (品質高)");
    EXPECT_FALSE(vcd.enables.fps || vcd.enables.size || vcd.enables.soundOnOff);
    EXPECT_TRUE(vcd.enables.audioDelay && vcd.enables.rotate);
    readBackPreset(vcd.options, job, tw());
    EXPECT_EQ(job.sizeArgs, " -vf-add scale=352:240");
    EXPECT_EQ(job.fpsText, "29.97  (一般)");

    job.targetWidth = 720; // the default size, not the one read back above
    job.targetHeight = 576;
    job.targetKind = TargetKind::Wmv8;
    job.targetExt = "wmv";
    OptionPreset wmv = presetForKind(job, tw(), "WMV8");
    EXPECT_EQ(wmv.options.cboFps, "12.5"); // the list stops at the source's rate
    EXPECT_EQ(wmv.options.txtSize, (std::array<std::string, 2>{"720", "576"}));
    EXPECT_TRUE(wmv.enables.widthBox && wmv.enables.heightBox && wmv.enables.borders);

    job.targetKind = TargetKind::Mpeg1;
    job.targetExt = "mpg";
    EXPECT_EQ(presetForKind(job, tw(), "MPEG1").options.cboFps, "23.976  (一般)");

    job.targetKind = TargetKind::Wav;
    job.targetExt = "wav";
    OptionPreset wav = presetForKind(job, tw(), "聲音 WAV", "/v/a.srt");
    EXPECT_FALSE(wav.enables.audioBitrate || wav.enables.audioDelay || wav.enables.fps);
    EXPECT_TRUE(wav.enables.audioSample && wav.enables.volume);
    EXPECT_TRUE(wav.options.pageMasked[kPageSubtitle]);
    EXPECT_FALSE(wav.enables.subtitleControls);

    job.targetKind = TargetKind::OnlyCut;
    job.targetExt = "avi";
    OptionPreset cut = presetForKind(job, tw(), "與來源影音相同");
    EXPECT_EQ(cut.options.cboAudioBitrate, "與來源影音相同");
    EXPECT_EQ(cut.options.cboAudioSample, "22050");
    EXPECT_FALSE(cut.enables.soundOnOff || cut.enables.size || cut.enables.audioBitrate);

    // Turning the sound off disables the sound group.
    wmv.options.optAudio = 1;
    job.targetKind = TargetKind::Wmv8;
    job.targetExt = "wmv";
    OptionEnables off = enablesFor(wmv.options, job, tw());
    EXPECT_FALSE(off.audioBitrate || off.audioSample || off.audioDelay || off.volnorm || off.volume);
    EXPECT_TRUE(off.soundOnOff);
}
