// The dry run against the run: for every target the command the plan shows is the one the
// tool is started with.
#include "engine/job_preparation.h"
#include "media/format_catalog.h"
#include "media/probe.h"
#include "options/option_args.h"
#include "support/engine_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace qorvid;
using namespace qorvid::test;

namespace {

// A source of the kind its name says, so that no quick operation asks about its format.
std::string identify(const std::string& ext)
{
    const std::string demuxer = ext == "mpg" ? "mpegps" : ext == "wmv" ? "asf" : "avi";
    return "ID_VIDEO_FORMAT=XVID\nID_VIDEO_WIDTH=640\nID_VIDEO_HEIGHT=480\nID_VIDEO_FPS=25.000\n"
           "ID_LENGTH=12.00\nID_DEMUXER=" + demuxer + "\nID_VIDEO_CODEC=ffodivx\n"
           "ID_AUDIO_BITRATE=128000\nID_AUDIO_RATE=44100\nID_AUDIO_NCH=2\nID_AUDIO_CODEC=ffac3\n";
}

struct PlanRig : ScriptedRig {
    PlanRig()
    {
        launcher.on("ZevraRes2", {FakeStep{"Pos: 1.0s 25f (10%)\r", true}, FakeStep{"", false}});
        launcher.on("ZevraRes3", {FakeStep{"size= 10kB time=00:00:01.00 bitrate=\r", true}, FakeStep{"", false}});
    }
    // Takes the source for the entry and applies the options as edited; false on a refusal.
    bool prepare(const FormatEntry& e, const std::function<void(ConversionOptions&)>& edit)
    {
        const std::string ext(isQuickOperation(e.kind) ? e.ext.substr(0, 3) : "avi");
        const std::string source = media.file("clip." + ext);
        writeFile(source, std::string(4096, 'x'));
        launcher.onOutput("-identify", identify(ext));
        ProbeContext probe{runner, paths, lang, ui, nullptr, false, nullptr};
        AddSourceContext add{job, labels, lang, ui, probe, {}, media.path(), {}};
        PreparedJob prepared = prepareJob(targetExt(e), e.kind, source, formatCaption(e, lang), add);
        if (!prepared.ready) return false;
        edit(prepared.options);
        return applyOptions(prepared.options, job, lang, ui).ok();
    }
};

struct Variant {
    const char* name;
    std::function<void(ConversionOptions&)> edit;
};

const std::vector<Variant> kVariants = {
    {"preset", [](ConversionOptions&) {}},
    {"size, crop, borders", [](ConversionOptions& o) {
         o.txtSize = {"320", "240"}, o.hasCrop = true, o.crop = {10, 20, 300, 200}, o.optScaleCrop = 1;
         o.previewWidth = 320, o.previewHeight = 240;
         o.txtExpand = {"8", "8", "0", "0"};
     }},
    {"rotation, colour, no sound", [](ConversionOptions& o) {
         o.cboRotate = 5, o.brightness = 10, o.contrast = -10, o.hue = 4, o.saturation = 6, o.optAudio = 1;
     }},
    {"delay, volume, sample rate", [](ConversionOptions& o) {
         o.txtAudioDelay = "0.5", o.volume = 20, o.cboAudioSample = "22050";
     }},
};

} // namespace

TEST(JobPlan, DryRunShowsTheCommandTheToolGetsForEveryTarget)
{
    // Taking a source enters its folder, which goes with the rig: later tests need a real one.
    const auto cwd = std::filesystem::current_path();
    for (const FormatEntry& e : formatCatalog()) {
        for (const Variant& v : kVariants) {
            SCOPED_TRACE(std::string(e.key) + ": " + v.name);
            PlanRig rig;
            ASSERT_TRUE(rig.prepare(e, v.edit)) << (rig.ui.messages.empty() ? "" : rig.ui.messages.back());
            JobDriver dry = rig.driver();
            const size_t before = rig.launcher.started.size();
            const JobPlan plan = dry.dryRun();
            ASSERT_FALSE(plan.stopped);
            EXPECT_EQ(rig.launcher.started.size(), before); // nothing ran
            ASSERT_FALSE(plan.questions.empty());          // the go-ahead, listed instead of asked
            EXPECT_TRUE(rig.ui.questions.empty()) << rig.ui.questions.front();

            JobDriver real = rig.driver();
            real.encode();
            ASSERT_EQ(rig.launcher.started.size(), before + 1);
            EXPECT_EQ(rig.launcher.started.back(), plan.command);
        }
    }
    std::filesystem::current_path(cwd);
}
