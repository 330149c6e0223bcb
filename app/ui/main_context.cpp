#include "app/ui/main_context.h"

#include "app/app_info.h"
#include "util/process.h"
#include "util/ui/qt_shell.h"

namespace qorvid {

MainContext::MainContext(const AppPaths& appPaths, ProgressView& progress, EstimateView& estimate, OutputView* output)
    : paths(appPaths),
      generalFilter(generalMediaFilter()),
      boxes(lang),
      display(lang, progress, estimate, clock),
      runner(lang, job, RunnerPorts{boxes, clock, display, output, clock, systemLauncher()}),
      mediaInfo(runner),
      shell(&qtShell())
{
    console.setStalePrefix(paths.toolPrefix());
    console.setToolWindows(&toolWindows);
}

} // namespace qorvid
