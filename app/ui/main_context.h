#pragma once
#include <functional>
#include "app/lang_text.h"
#include "app/paths.h"
#include "app/ui/message_boxes.h"
#include "app/ui/qt_event_clock.h"
#include "app/ui/x11_tool_windows.h"
#include "engine/job_display.h"
#include "engine/tool_runner.h"
#include "media/job_state.h"
#include "media/mci_media_info.h"
#include "media/source_selection.h"
#include "options/conversion_options.h"
#include "player/console_tool.h"
#include "util/shell_ops.h"
#include "util/ui/comm_dialog.h"

#include <string>

namespace qorvid {

class frmPlayer;


// The one instance of each shared piece of the window program: the job record, the message
// texts, the labels' paths, the runner and the reporters. Held by the main window and handed
// to whoever needs them.
struct MainContext {
    MainContext(const AppPaths& appPaths, ProgressView& progress, EstimateView& estimate, OutputView* output);

    AppPaths paths;
    LangText lang;
    JobState job;
    SourceLabels labels;
    ConversionOptions options; // the current job's option values, as the options window edits them
    std::string summary;       // the settings summary of those options
    std::string generalFilter;
    MessageBoxes boxes;
    QtEventClock clock;
    JobDisplay display;
    ToolRunner runner;
    FfprobeMediaInfo mediaInfo;
    CommDialog dialog;
    ShellOps* shell;
    X11ToolWindows toolWindows;
    ConsoleTool console; // the one slave-mode player: the preview's, later the player window's
    // The player window, made when first asked for (the options window shows its big screen there).
    std::function<frmPlayer&()> playerWindow;
};

} // namespace qorvid
