#pragma once
#include "app/lang_text.h"
#include "app/paths.h"
#include "cli/terminal_asker.h"
#include "cli/terminal_reporters.h"
#include "engine/job_display.h"
#include "engine/tool_runner.h"
#include "media/job_state.h"

#include <string>

namespace qorvid::cli {

// The one instance of each shared piece, wired for the terminal.
struct CoreSetup {
    explicit CoreSetup(const std::string& language);

    AppPaths paths;
    LangText lang;
    JobState job;
    TerminalReporters terminal;
    TerminalAsker asker;
    JobDisplay display;
    ToolRunner runner;
};

} // namespace qorvid::cli
