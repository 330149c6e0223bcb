#pragma once
#include "util/subprocess.h"

#include <string>
#include <vector>

// qorvid-cli convert running in the background, for tests that act while it works.
namespace qorvid::test {

// Started with "--lang tw" and the arguments; standard input is /dev/null, the output goes to a
// pipe that finish() reads. Killed and reaped if still running at the end of the scope
// (Subprocess does that).
class BackgroundCli {
public:
    explicit BackgroundCli(std::vector<std::string> args);
    // Reads everything and waits; the exit code, 128 + signal for a killed one.
    int finish();
    void signal(int sig) const { child_.signal(sig); }
    std::string output;

private:
    Subprocess child_;
};

// The process of the named program working on the file, once it runs (-1 when it never does).
int waitForTool(const std::string& program, const std::string& file);
// Until no process works on the file any more; false when some keep running.
bool toolsGone(const std::string& file);

} // namespace qorvid::test
