// The job driver with stand-in tools: small scripts in a scratch program folder.
#include "support/engine_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace qorvid;
using namespace qorvid::test;

namespace {

// The encoder stand-in: writes the target (the word after -o) as the script says.
const char* kEncoderPrefix = "out=''; prev=''\n"
                             "for a in \"$@\"; do [ \"$prev\" = -o ] && out=\"$a\"; prev=\"$a\"; done\n"
                             "echo run >> \"$(dirname \"$0\")/runs\"\n";

// A DivX job of a small AVI with the encoder as a script.
struct DriverRig : EngineRig {
    DriverRig() : EngineRig(systemClock(), systemLauncher())
    {
        encoder("head -c 300000 /dev/zero > \"$out\"; printf 'Pos: 4.0s 100f (99%%)\\r'");
        labels.input = media.file("clip.avi");
        labels.output = media.file("clip_out.avi");
        writeFile(labels.input, std::string(4096, 'x'));
        job.srcWidth = 320, job.srcHeight = 240, job.srcFps = 25, job.srcLength = 4;
        job.srcDemuxer = "avi", job.srcVideoFormat = "fmp4", job.srcAudioCodec = "mp3";
        job.targetKind = TargetKind::DivX, job.targetExt = "avi";
        job.fpsText = "25", job.videoBitrateText = "800", job.audioBitrateText = "128";
    }
    void encoder(const std::string& body)
    {
        writeScript(app.file("plugins/ZevraRes2.exe"), std::string(kEncoderPrefix) + body);
    }
    int runs() const
    {
        std::string r = readFile(app.file("plugins/runs"));
        return static_cast<int>(std::count(r.begin(), r.end(), '\n'));
    }
    JobOutcome encode() { return driver().encode(); }
};

bool hasText(const std::vector<std::string>& texts, const std::string& part)
{
    return std::ranges::any_of(texts, [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

} // namespace

TEST(JobDriver, ProducesTheTargetAndOffersToPlayIt)
{
    DriverRig rig;
    rig.ui.answers = {Answer::Ok};
    EXPECT_EQ(rig.encode(), JobOutcome::Produced);
    EXPECT_EQ(rig.runs(), 1);
    // The confirmation and the resting bar are checked on the main window.
    ASSERT_FALSE(rig.ui.questions.empty());
    EXPECT_NE(rig.ui.questions.back().find("轉檔成功，費時 "), std::string::npos);
    EXPECT_EQ(rig.view.played, rig.labels.output);
    EXPECT_EQ(rig.view.states, (std::vector<bool>{true, false, false}));
}

TEST(JobDriver, AlmostEmptyTargetIsRetriedOnceWithoutSyncCorrection)
{
    DriverRig rig;
    // With sync correction the stand-in writes 50 000 bytes and reports nothing; without, it fails.
    rig.encoder("case \"$*\" in *'-mc 1'*) head -c 50000 /dev/zero > \"$out\"; printf 'Pos: 0.0s 1f (0%%)\\r';; "
                "*) exit 1;; esac");
    EXPECT_EQ(rig.encode(), JobOutcome::Failed);
    EXPECT_EQ(rig.runs(), 2);
    EXPECT_EQ(std::ranges::count(rig.ui.questions, rig.lang[Msg::SyncCorrectionConflict]), 1);
    ASSERT_FALSE(rig.ui.messages.empty());
    EXPECT_NE(rig.ui.messages.back().find("轉檔失敗"), std::string::npos);
    EXPECT_FALSE(fileExists(rig.labels.output));
}

TEST(JobDriver, ChecksRefuseBeforeAnythingRuns)
{
    struct Case {
        std::function<void(DriverRig&)> setUp;
        Msg message;
    };
    // A music source for a picture target is one of ConvertCli's refusals.
    const std::vector<Case> cases = {
        {[](DriverRig& r) { std::filesystem::remove(r.labels.input); }, Msg::ChooseSourceFirst},
        {[](DriverRig& r) { r.job.srcLength = 0, r.job.srcFps = 0; }, Msg::CannotAnalyseSource},
        {[](DriverRig& r) { r.job.srcWidth = 0, r.job.srcFps = 0; }, Msg::MusicNotForVideoOps},
        {[](DriverRig& r) { r.job.targetKind = TargetKind::Mp3, r.job.srcAudioCodec = ""; }, Msg::NoSoundForSoundTarget},
        {[](DriverRig& r) { r.job.targetKind = TargetKind::AudIsMp3, r.job.srcAudioCodec = ""; }, Msg::NoSoundForMp3},
        {[](DriverRig& r) { r.job.targetKind = TargetKind::OnlyTransVol, r.job.srcAudioCodec = ""; }, Msg::NoSoundForVolume},
        {[](DriverRig& r) { r.labels.output = r.labels.input; }, Msg::SourceIsTarget},
        {[](DriverRig& r) { r.labels.output = r.media.file("say \"hi\".avi"); }, Msg::InvalidFileName},
        {[](DriverRig& r) { std::filesystem::remove(r.app.file("plugins/ZevraRes2.exe")); }, Msg::PluginsMissing},
    };
    for (const Case& c : cases) {
        DriverRig rig;
        c.setUp(rig);
        EXPECT_EQ(rig.encode(), JobOutcome::Refused) << static_cast<int>(c.message);
        EXPECT_TRUE(hasText(rig.ui.messages, rig.lang[c.message].substr(0, 12))) << static_cast<int>(c.message);
        EXPECT_EQ(rig.runs(), 0) << static_cast<int>(c.message);
        EXPECT_TRUE(rig.ui.questions.empty()) << static_cast<int>(c.message);
    }
}

TEST(JobDriver, QuestionsAnsweredCancelRunNothingAndKeepFiles)
{
    DriverRig overwrite;
    writeFile(overwrite.labels.output, "old target");
    overwrite.ui.answers = {Answer::Cancel};
    EXPECT_EQ(overwrite.encode(), JobOutcome::Cancelled);
    EXPECT_EQ(readFile(overwrite.labels.output), "old target");
    EXPECT_EQ(overwrite.runs(), 0);

    // A cut of an AVI whose container is really something else: message 262, Cancel.
    DriverRig mismatch;
    mismatch.job.targetKind = TargetKind::OnlyCut;
    mismatch.job.srcDemuxer = "lavfpref";
    mismatch.job.srcVideoFormat = "mp4v";
    mismatch.ui.answers = {Answer::Ok, Answer::Cancel}; // confirmation, then the container question
    EXPECT_EQ(mismatch.encode(), JobOutcome::Cancelled);
    EXPECT_EQ(mismatch.runs(), 0);
    EXPECT_TRUE(hasText(mismatch.ui.questions, "但是來源影片的真正格式是 MP4"));
}
