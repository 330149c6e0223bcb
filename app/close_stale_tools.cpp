#include "app/close_stale_tools.h"

#include "util/text.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace qorvid {
namespace {

// How long a tool may take to close on SIGTERM before it is killed.
constexpr int kCloseWaitMs = 200;

int openPidFd(int pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

bool sendSignal(int pidFd, int sig)
{
    return ::syscall(SYS_pidfd_send_signal, pidFd, sig, nullptr, 0) == 0;
}

// A pid file descriptor turns readable when its process ends.
bool waitForExit(int pidFd, int timeoutMs)
{
    pollfd p{pidFd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

bool endProcess(int pid, std::string_view prefix)
{
    int fd = openPidFd(pid);
    if (fd < 0 && errno == ENOSYS) {
        // Kernels before pid descriptors: plain signals, with no wait in between.
        ::kill(pid, SIGTERM);
        return ::kill(pid, SIGKILL) == 0;
    }
    if (fd < 0) return false;
    // The pid is pinned now; check it still names the same tool, not a reused number.
    ProcessInfo now;
    bool same = readProcess(pid, now) && isUnderPrefix(now, prefix);
    bool ended = false;
    if (same) {
        sendSignal(fd, SIGTERM);
        if (!waitForExit(fd, kCloseWaitMs)) {
            sendSignal(fd, SIGKILL);
            waitForExit(fd, kCloseWaitMs);
        }
        ended = true;
    }
    ::close(fd);
    return ended;
}

} // namespace

bool isUnderPrefix(const ProcessInfo& process, std::string_view prefix)
{
    if (prefix.empty()) return false;
    const std::string p = toLower(prefix);
    return startsWith(toLower(process.exePath), p) || startsWith(toLower(process.firstArg), p);
}

std::vector<int> selectStaleTools(const std::vector<ProcessInfo>& processes, std::string_view prefix,
                                  int selfPid)
{
    std::vector<int> pids;
    for (const ProcessInfo& process : processes)
        if (process.pid != selfPid && process.pid > 0 && isUnderPrefix(process, prefix))
            pids.push_back(process.pid);
    return pids;
}

int closeStaleTools(const std::string& prefix)
{
    int count = 0;
    for (int pid : selectStaleTools(currentUserProcesses(), prefix, static_cast<int>(::getpid())))
        if (endProcess(pid, prefix)) ++count;
    return count;
}

} // namespace qorvid
