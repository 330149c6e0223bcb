#include "app/lang_text.h"
#include "support/lang.h"
#include "media/format_catalog.h"
#include "media/job_state.h"
#include "options/option_args.h"
#include "options/option_checks.h"
#include "options/option_lists.h"
#include "options/option_presets.h"
#include "options/option_relabel.h"
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

// A job of the kind for a source of this size and rate.
JobState jobFor(const FormatEntry& e, int w, int h, float fps)
{
    JobState job;
    job.srcWidth = w, job.srcHeight = h, job.srcFps = fps;
    job.targetKind = e.kind;
    job.targetExt = e.group == TargetGroup::QuickOp ? e.ext.substr(0, 3) : e.ext;
    job.targetWidth = std::min(w, 1280);
    job.targetHeight = w > 1280 ? 720 : h;
    return job;
}

JobState divxJob() { return jobFor(*findFormat("divx"), 720, 576, 25); }

} // namespace

// Width, height, flips and marks are checked through the options window.
TEST(OptionChecks, FrameRateBoundShownFollowsHowTheRateWasGiven)
{
    ConversionOptions o = validOptions();
    o.cboFps = "與來源影音相同";
    o.cboFpsIndex = 0;
    EXPECT_FALSE(checkFrameRate(o, tw()));
    o.cboFpsIndex = -1; // the same text typed is not the item
    EXPECT_TRUE(checkFrameRate(o, tw()));
    // A typed value shows the second item as the lower bound; a chosen item shows 5.
    o.cboFpsList = fillFpsList(tw(), true);
    o.cboFps = "31";
    EXPECT_EQ(checkFrameRate(o, tw())->text, "影格速率的數值範圍，必須在 24 ~ 30 之間");
    o.cboFpsIndex = 2;
    EXPECT_EQ(checkFrameRate(o, tw())->text, "影格速率的數值範圍，必須在 5 ~ 30 之間");
}

TEST(OptionChecks, BitRateBounds)
{
    ConversionOptions o = validOptions();
    for (const char* ok : {"32", "9000"}) {
        o.cboVideoBitrate = ok;
        EXPECT_FALSE(checkVideoBitrate(o, tw())) << ok;
    }
    o.cboVideoBitrate = "0";
    o.videoBitrateFromSource = true;
    EXPECT_FALSE(checkVideoBitrate(o, tw()));
    o.videoBitrateFromSource = false;
    o.cboVideoBitrate = "31";
    EXPECT_EQ(checkVideoBitrate(o, tw())->message, Msg::VideoBitrateRange);
    o.cboAudioBitrate = "321";
    EXPECT_EQ(checkAudioBitrate(o, tw())->page, kPageAudio);
    o.txtSize = {"7", "7"};
    o.pageMasked[kPageVideo] = true; // nothing to check where nothing can be changed
    EXPECT_FALSE(checkWidth(o, tw()));
}

TEST(OptionChecks, SubtitleFile)
{
    test::TempDir dir;
    test::writeFile(dir.file("a.srt"), "1\n");
    ConversionOptions o = validOptions();
    JobState job = divxJob();
    o.optSub = 1; // an empty box is checked through the options window
    o.txtSubFile = dir.file("b.srt");
    EXPECT_EQ(checkSubtitleFile(o, job, tw())->text, "該字幕檔案不存在\r\n\r\n" + dir.file("b.srt"));
    o.txtSubFile = dir.file("a.srt") + " ";
    EXPECT_FALSE(checkSubtitleFile(o, job, tw()));

    o.txtSubFile.clear(); // not checked where subtitles cannot go
    job.targetKind = TargetKind::OnlyCut;
    EXPECT_FALSE(checkSubtitleFile(o, job, tw()));
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
    EXPECT_EQ(job.targetWidth, 720); // as it was
    EXPECT_EQ(job.sizeArgs, "");
    EXPECT_TRUE(rec.messages.empty()); // the caller shows the failure on its page
}

TEST(OptionPresets, EveryKindPassesTheChecks)
{
    struct Source { int w, h; float fps; bool picture; };
    for (const Source& src : {Source{1920, 1080, 29.97f, true}, Source{352, 288, 12.5f, true},
                              Source{640, 480, 3.0f, true}, Source{0, 0, 0, false}}) {
        for (const auto& e : formatCatalog()) {
            if (!src.picture && e.group != TargetGroup::Sound) continue; // music only becomes sound
            JobState job = jobFor(e, src.w, src.h, src.fps);
            OptionPreset p = presetForKind(job, tw(), formatCaption(e, tw()));
            RecordingReporters rec;
            OkOutcome out = applyOptions(p.options, job, tw(), rec);
            EXPECT_TRUE(out.ok()) << e.key << " " << src.w << " " << (out.failure ? out.failure->text : "");
        }
    }
}

// The source's own rates are chosen in one language and checked in another, with the texts
// relabelled as a language switch does and, for a switch the texts missed, as they were.
TEST(OptionPresets, SameAsSourceSurvivesALanguageSwitch)
{
    const LangText gb = test::loadedLang("gb"), en = test::loadedLang("en");
    for (const auto& e : formatCatalog()) {
        if (e.group == TargetGroup::Sound) continue;
        JobState job = jobFor(e, 640, 480, 25);
        const OptionPreset p = presetForKind(job, tw(), formatCaption(e, tw()));
        for (const LangText* to : {&gb, &en}) {
            for (bool relabelled : {true, false}) {
                ConversionOptions o = p.options;
                JobState j = job;
                if (relabelled) relabelJob(o, j, tw(), *to);
                RecordingReporters rec;
                OkOutcome out = applyOptions(o, j, *to, rec);
                EXPECT_TRUE(out.ok()) << e.key << " " << to->code() << " relabelled " << relabelled << ": "
                                      << (out.failure ? out.failure->text : "");
            }
        }
    }
    // The text alone decides nothing: typed into a bit-rate box it is out of range.
    ConversionOptions o = validOptions();
    o.cboAudioBitrate = en[Msg::SameAsSourceMedia];
    EXPECT_EQ(checkAudioBitrate(o, en)->message, Msg::AudioBitrateRange);
}
