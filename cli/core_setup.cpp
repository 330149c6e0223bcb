#include "cli/core_setup.h"

#include "app/system_language.h"
#include "util/clock.h"
#include "util/process.h"

namespace qorvid::cli {

CoreSetup::CoreSetup(const std::string& language)
    : paths(AppPaths::fromRunningProgram()),
      asker(terminal),
      display(lang, terminal, terminal, systemClock()),
      runner(lang, job, RunnerPorts{terminal, terminal, display, nullptr, systemClock(), systemLauncher()})
{
    if (language.empty() || !lang.load(language)) lang.load(systemLanguage());
}

} // namespace qorvid::cli
