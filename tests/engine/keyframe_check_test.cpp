#include "engine/keyframe_check.h"
#include "media/job_state.h"
#include "support/fakes.h"
#include "support/lang.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qorvid;
using namespace qorvid::test;

// The probe command itself is run by the real player in CopyCut.
TEST(SeekLanding, ReadsTheLastStatusField)
{
    EXPECT_FLOAT_EQ(seekLanding("A:   9.5 V:  10.0 A-V: -0.5 ct: 0.0\rA:  10.0 V:  10.0 A-V:  0.000\n"), 10.0f);
    EXPECT_FLOAT_EQ(seekLanding("V:  30.0   1/  1 ??% ??% ??,?% 0 0\n"), 30.0f); // picture only
    EXPECT_FLOAT_EQ(seekLanding("A-V:  0.000\n"), -1.0f);
}

namespace {

struct KeyFrameRig {
    KeyFrameRig()
    {
        job.jobTitle = "剪輯影片";
        job.srcLength = 60;
        job.srcTimeShift = 0.5f; // a known offset: no rate estimate, every probe is one seek
        job.markStart = 25;
        job.markEnd = 40;
        job.jobLength = 15;
    }
    // Key frames every 10 s; a seek lands on the next one. Times include the offset.
    KeyFrameOutcome run(std::function<float(float)> landing = {})
    {
        auto seek = [&, landing](float t) {
            ++seeks;
            float l = landing ? landing(t) : std::ceil(t / 10.0f - 1e-4f) * 10.0f;
            return l < 0 ? l : l + job.srcTimeShift;
        };
        return checkKeyFrames(job, seek, lang, ui);
    }
    const LangText& lang = tw();
    JobState job;
    RecordingReporters ui;
    int seeks = 0;
};

float keyAt20Or30(float t) { return t > 20.01f ? 30.0f : 20.0f; }

} // namespace

TEST(KeyFrameCheck, MarkOnAKeyFrameScaledTimesAndSparseKeyFramesAskNothing)
{
    const struct {
        const char* what;
        float markStart, shift;
        std::function<float(float)> landing; // empty: every 10 s
        bool sparse;
        const char* cut;
        int seeks; // 0: not counted
    } cases[] = {
        {"on a key frame", 30, 0.5f, {}, false, "", 1},
        // No offset known: the rate factor is estimated.
        {"scaled times", 25, 0, [](float t) { return t * 1.25f; }, false, " -ss 00:00:20.0 -endpos 00:00:15.0", 0},
        {"lands 28 s late: more than 16", 2, 0.5f, [](float) { return 30.0f; }, true, "", 0},
        {"lands 9 s early", 29, 0.5f, [](float) { return 20.0f; }, true, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KeyFrameRig rig;
        rig.job.markStart = c.markStart;
        rig.job.srcTimeShift = c.shift;
        auto out = rig.run(c.landing);
        EXPECT_FALSE(out.cancelled);
        EXPECT_EQ(out.sparseWarning, c.sparse);
        EXPECT_EQ(out.cut, c.cut);
        EXPECT_TRUE(rig.ui.questions.empty());
        if (c.seeks) { EXPECT_EQ(rig.seeks, c.seeks); }
    }
}

TEST(KeyFrameCheck, LateLandingOffersThePreviousKeyFrame)
{
    // 046: start 25.0 lands 5 s late at 30.0; the key frame before it is at 20.0. Yes takes it.
    const struct {
        Answer answer;
        float length;
        const char* cut;
    } cases[] = {{Answer::Yes, 15 + 5 + 0.75f, " -ss 00:00:19.3 -endpos 00:00:20.8"},
                 {Answer::No, 15 - 5 + 0.75f, " -ss 00:00:29.3 -endpos 00:00:10.8"},
                 {Answer::Cancel, 15, ""}};
    for (const auto& c : cases) {
        KeyFrameRig rig;
        rig.ui.answers = {c.answer};
        auto out = rig.run(keyAt20Or30);
        ASSERT_EQ(rig.ui.questions.size(), 1u);
        EXPECT_EQ(rig.ui.questions[0], fillPlaceholders(rig.lang[Msg::KeyFrameShiftYesNo],
                                                        {"00:00:25.0", "剪輯影片", "5.0", "00:00:25.0", "00:00:30.0",
                                                         "00:00:20.0", "5.0", "00:00:25.0", "5.0"}));
        EXPECT_EQ(out.cancelled, c.answer == Answer::Cancel);
        if (out.cancelled) continue;
        EXPECT_FLOAT_EQ(rig.job.jobLength, c.length);
        EXPECT_EQ(out.cut, c.cut);
    }
}

TEST(KeyFrameCheck, LandingPastTheEndOnlyOffersOkOrCancel)
{
    KeyFrameRig rig;
    rig.job.markEnd = 28; // the seek lands at 30, after the end
    auto out = rig.run(keyAt20Or30);
    ASSERT_EQ(rig.ui.questions.size(), 1u);
    EXPECT_EQ(rig.ui.questions[0].substr(0, 20), rig.lang[Msg::KeyFrameShiftOk].substr(0, 20));
    EXPECT_EQ(out.cut.substr(0, 15), " -ss 00:00:19.3");
}
