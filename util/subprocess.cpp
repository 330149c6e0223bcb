#include "util/subprocess.h"

#include "util/clock.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace qorvid {
namespace {

void closeFd(int& fd)
{
    if (fd >= 0) close(fd);
    fd = -1;
}

bool makePipe(int fds[2])
{
    return pipe2(fds, O_CLOEXEC) == 0;
}

std::vector<char*> pointersTo(const std::vector<std::string>& strings)
{
    std::vector<char*> out;
    for (const auto& s : strings) out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

struct ChildEnds {
    int in = -1, out = -1, err = -1;
    char* const* argv = nullptr;
    char* const* envp = nullptr; // null: ours
    pid_t parent = 0;
    int report = -1; // gets errno when the program cannot be started
};

[[noreturn]] void failInChild(int reportFd)
{
    int err = errno;
    ssize_t ignored = write(reportFd, &err, sizeof err);
    (void)ignored;
    _exit(127);
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void execChild(const Subprocess::Setup& setup, const ChildEnds& ends)
{
    if (setup.endWithUs) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != ends.parent) _exit(127);
    }
    if (setup.ownGroup) setpgid(0, 0);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD}) std::signal(s, SIG_DFL);
    if (ends.in >= 0 && dup2(ends.in, 0) < 0) _exit(127);
    if (ends.out >= 0 && dup2(ends.out, 1) < 0) _exit(127);
    if (ends.err >= 0 && dup2(ends.err, 2) < 0) _exit(127);
    if (!setup.workingDir.empty() && chdir(setup.workingDir.c_str()) != 0) failInChild(ends.report);
    const char* program = setup.program.c_str();
    bool searchPath = setup.program.find('/') == std::string::npos;
    if (ends.envp)
        searchPath ? execvpe(program, ends.argv, ends.envp) : execve(program, ends.argv, ends.envp);
    else
        searchPath ? execvp(program, ends.argv) : execv(program, ends.argv);
    failInChild(ends.report);
}

// What the child's standard descriptors become, from the pipes and /dev/null made for it.
void pickChildEnds(const Subprocess::Setup& setup, int inPipe[2], int outPipe[2], int errPipe[2], int nullFd,
                   ChildEnds& ends)
{
    using S = Subprocess;
    ends.in = setup.input == S::Input::Pipe ? inPipe[0] : setup.input == S::Input::Null ? nullFd : -1;
    ends.out = setup.output == S::Output::Pipe ? outPipe[1] : setup.output == S::Output::Null ? nullFd : -1;
    switch (setup.errors) {
    case S::Errors::Pipe: ends.err = errPipe[1]; break;
    case S::Errors::Null: ends.err = nullFd; break;
    case S::Errors::WithOutput: ends.err = ends.out >= 0 ? ends.out : 1; break;
    case S::Errors::Inherit: break;
    }
}

} // namespace

Subprocess::~Subprocess()
{
    closeInput();
    closeOutput();
    closeErrors();
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        wait();
    }
}

bool Subprocess::start(const Setup& setup)
{
    error_.clear();
    status_ = -1;
    group_ = -1;
    int inPipe[2] = {-1, -1}, outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1}, report[2] = {-1, -1};
    int nullFd = -1;
    auto cleanup = [&] {
        for (int* p : {inPipe, outPipe, errPipe, report}) {
            closeFd(p[0]);
            closeFd(p[1]);
        }
        closeFd(nullFd);
    };
    bool needNull = setup.input == Input::Null || setup.output == Output::Null || setup.errors == Errors::Null;
    if ((needNull && (nullFd = open("/dev/null", O_RDWR | O_CLOEXEC)) < 0) ||
        (setup.input == Input::Pipe && !makePipe(inPipe)) || (setup.output == Output::Pipe && !makePipe(outPipe)) ||
        (setup.errors == Errors::Pipe && !makePipe(errPipe)) || !makePipe(report)) {
        error_ = std::string("cannot create a pipe: ") + std::strerror(errno);
        cleanup();
        return false;
    }
    ChildEnds ends;
    pickChildEnds(setup, inPipe, outPipe, errPipe, nullFd, ends);
    // The pointers lead into setup, which outlives the fork.
    const std::vector<std::string> programOnly{setup.program};
    std::vector<char*> argv = pointersTo(setup.argv.empty() ? programOnly : setup.argv);
    std::vector<char*> envp;
    if (setup.environment) envp = pointersTo(*setup.environment);
    ends.argv = argv.data();
    ends.envp = setup.environment ? envp.data() : nullptr;
    ends.parent = getpid();
    ends.report = report[1];

    pid_t pid = fork();
    if (pid < 0) {
        error_ = "cannot start " + setup.program + ": " + std::strerror(errno);
        cleanup();
        return false;
    }
    if (pid == 0) execChild(setup, ends);

    // The report pipe closes on exec; before that the child writes why it could not start.
    closeFd(report[1]);
    int childErrno = 0;
    ssize_t n;
    while ((n = read(report[0], &childErrno, sizeof childErrno)) < 0 && errno == EINTR) {}
    if (n == static_cast<ssize_t>(sizeof childErrno)) {
        error_ = "cannot start " + setup.program + ": " + std::strerror(childErrno);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
        cleanup();
        return false;
    }
    pid_ = pid;
    if (setup.ownGroup) group_ = pid;
    std::swap(in_, inPipe[1]);
    std::swap(out_, outPipe[0]);
    std::swap(err_, errPipe[0]);
    cleanup();
    return true;
}

void Subprocess::closeInput() { closeFd(in_); }
void Subprocess::closeOutput() { closeFd(out_); }
void Subprocess::closeErrors() { closeFd(err_); }

void Subprocess::signal(int sig) const
{
    if (pid_ > 0) kill(pid_, sig);
}

void Subprocess::killGroup()
{
    if (group_ > 0) kill(-group_, SIGKILL);
    if (pid_ > 0) kill(pid_, SIGKILL);
    wait();
    if (group_ <= 0) return;
    // Killed grandchildren take a moment to go. Those that were orphaned are ours to reap
    // (see adoptOrphans), so wait, briefly, until the whole group has gone.
    for (int i = 0; i < 100; ++i) {
        while (waitpid(-group_, nullptr, WNOHANG) > 0) {}
        if (kill(-group_, 0) != 0) break;
        timespec pause{0, 1000000};
        nanosleep(&pause, nullptr);
    }
}

int Subprocess::wait()
{
    reap(true);
    return status_;
}

bool Subprocess::hasEnded()
{
    return reap(false);
}

bool Subprocess::reap(bool block)
{
    if (pid_ <= 0) return true;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid_, &status, block ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0) return false;
    // r < 0: not our child any more, its status is lost.
    if (r == pid_) status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return true;
}

bool readAvailable(int fd, std::string& into, std::size_t maxBytes)
{
    const std::size_t had = into.size();
    into.resize(had + maxBytes);
    ssize_t n;
    do {
        n = read(fd, into.data() + had, maxBytes);
    } while (n < 0 && errno == EINTR);
    into.resize(had + (n > 0 ? static_cast<std::size_t>(n) : 0));
    return n > 0;
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

RunWatch::RunWatch(const RunLimits& limits)
    : clock_(limits.clock ? *limits.clock : systemClock()), limits_(limits), started_(clock_.nowMs()),
      heard_(started_)
{
}

void RunWatch::heard() { heard_ = clock_.nowMs(); }

int RunWatch::leftMs()
{
    const std::int64_t now = clock_.nowMs();
    const std::int64_t left = std::min(heard_ + limits_.silenceMs, started_ + limits_.totalMs) - now;
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, 24 * 3600 * 1000));
}

bool RunWatch::silent() { return clock_.nowMs() - heard_ >= limits_.silenceMs; }

Captured runAndCapture(const std::string& program, const std::vector<std::string>& args, const RunLimits& limits)
{
    Captured result;
    Subprocess child;
    Subprocess::Setup setup;
    setup.program = program;
    setup.argv.push_back(program);
    setup.argv.insert(setup.argv.end(), args.begin(), args.end());
    setup.input = Subprocess::Input::Null;
    setup.output = Subprocess::Output::Pipe;
    setup.errors = Subprocess::Errors::Pipe;
    if (!child.start(setup)) {
        result.startError = child.error();
        return result;
    }
    RunWatch watch(limits);
    pollfd fds[2] = {{child.outputFd(), POLLIN, 0}, {child.errorFd(), POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        const int left = watch.leftMs();
        if (left == 0) {
            // Killed, not waited out: a child that prints nothing may never end by itself.
            child.signal(SIGKILL);
            result.timedOut = true;
            break;
        }
        const int waitOn[2] = {fds[0].fd, fds[1].fd};
        watch.clock().waitForInput(waitOn, 2, left);
        if (poll(fds, 2, 0) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            std::string& into = i == 0 ? result.output : result.errors;
            const std::size_t had = into.size();
            if (!readAvailable(fds[i].fd, into)) {
                fds[i].fd = -1;
                --open;
            }
            if (into.size() > had) watch.heard();
        }
    }
    result.exitCode = child.wait();
    return result;
}

void endWithParent() { prctl(PR_SET_PDEATHSIG, SIGTERM); }

void adoptOrphans() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

} // namespace qorvid
