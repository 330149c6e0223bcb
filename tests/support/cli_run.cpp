#include "support/cli_run.h"

#include "support/test_tools.h"

#include <unistd.h>

namespace qorvid::test {

BackgroundCli::BackgroundCli(std::vector<std::string> args)
{
    args.insert(args.begin(), {buildDir() + "qorvid-cli", "convert", "--lang", "tw"});
    if (!startProgram(child_, args, Subprocess::Output::Pipe, Subprocess::Input::Null))
        output = "cannot start " + args[0] + ": " + child_.error();
}

int BackgroundCli::finish()
{
    while (child_.outputFd() >= 0 && readAvailable(child_.outputFd(), output)) {}
    child_.closeOutput();
    return child_.wait();
}

int waitForTool(const std::string& program, const std::string& file)
{
    for (int i = 0; i < 3000; ++i) {
        for (int p : processesMatching(file)) {
            std::string comm = readFile("/proc/" + std::to_string(p) + "/comm");
            if (comm.rfind(program, 0) == 0) return p;
        }
        usleep(10000);
    }
    return -1;
}

bool toolsGone(const std::string& file)
{
    for (int i = 0; i < 500; ++i) {
        if (processesMatching(file).empty()) return true;
        usleep(10000);
    }
    return false;
}

} // namespace qorvid::test
