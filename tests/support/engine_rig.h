#pragma once
#include "app/lang_text.h"
#include "app/paths.h"
#include "engine/job_display.h"
#include "engine/job_driver.h"
#include "engine/tool_runner.h"
#include "media/job_state.h"
#include "media/source_selection.h"
#include "support/fakes.h"
#include "support/test_tools.h"

#include <filesystem>

// The engine's parts for one job, over a scratch program folder whose plugins are empty files:
// the Traditional Chinese table, recording reporters, the display and the runner on the given
// clock and launcher, and the job driver over them.
namespace qorvid::test {

class RecordingView final : public JobView {
public:
    void setRunningState(bool running) override { states.push_back(running); }
    void playTarget(const std::string& path) override { played = path; }
    std::vector<bool> states;
    std::string played;
};

struct EngineRig {
    EngineRig(Clock& c, ProcessLauncher& launcher)
        : clock(c), display(lang, ui, ui, c), runner(lang, job, RunnerPorts{ui, ui, display, &ui, c, launcher})
    {
        lang.load("tw");
        job.jobTitle = lang[Msg::Convert];
        std::filesystem::create_directories(app.file("plugins"));
        for (int n : {1, 2, 3}) writeFile(app.file("plugins/ZevraRes" + std::to_string(n) + ".exe"), "");
        paths = AppPaths::forFolder(app.path());
    }
    JobDriver driver() { return JobDriver(JobContext{lang, job, labels, paths, runner, display, ui, ui, view, clock}); }

    TempDir app, media;
    AppPaths paths;
    LangText lang;
    JobState job;
    SourceLabels labels;
    RecordingReporters ui;
    RecordingView view;
    Clock& clock;
    JobDisplay display;
    ToolRunner runner;
};

// The stand-ins come first: the rig's parts keep references to them.
struct FakeTools {
    FakeClock fakeClock;
    ScriptedLauncher launcher;
};

// The rig over the fake clock and scripted children.
struct ScriptedRig : FakeTools, EngineRig {
    ScriptedRig() : EngineRig(fakeClock, launcher) {}
};

} // namespace qorvid::test
