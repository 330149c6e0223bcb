#pragma once
#include <string>
#include <vector>

namespace qorvid {

struct ProcessInfo {
    int pid = 0;
    std::string exePath;  // the program file; "" when it cannot be read
    std::string firstArg; // the first word of the command line
};

// The current user's running processes, from /proc. Zombies have no program file
// and show with an empty exePath.
std::vector<ProcessInfo> currentUserProcesses();

// The same view of one process; false when it is gone or belongs to someone else.
bool readProcess(int pid, ProcessInfo& info);

} // namespace qorvid
