#include "common/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qorvid::tools {
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

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void execChild(const ChildProcess::Setup& setup, char* const* argv, pid_t parent,
                            int stdinFd, int stdoutFd, int stderrFd, int reportFd)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGCHLD}) std::signal(s, SIG_DFL);
    if (stdinFd >= 0 && dup2(stdinFd, 0) < 0) _exit(127);
    if (stdoutFd >= 0 && dup2(stdoutFd, 1) < 0) _exit(127);
    if (stderrFd >= 0 && dup2(stderrFd, 2) < 0) _exit(127);
    if (!setup.workingDir.empty() && chdir(setup.workingDir.c_str()) != 0) {
        int err = errno;
        ssize_t ignored = write(reportFd, &err, sizeof err);
        (void)ignored;
        _exit(127);
    }
    if (setup.program.find('/') != std::string::npos)
        execv(setup.program.c_str(), argv);
    else
        execvp(setup.program.c_str(), argv);
    int err = errno;
    ssize_t ignored = write(reportFd, &err, sizeof err);
    (void)ignored;
    _exit(127);
}

} // namespace

ChildProcess::~ChildProcess()
{
    closeInput();
    closeOutput();
    closeErrors();
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        wait();
    }
}

bool ChildProcess::start(const Setup& setup)
{
    error_.clear();
    int inPipe[2] = {-1, -1}, outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1}, report[2] = {-1, -1};
    int nullFd = -1;
    auto cleanup = [&] {
        for (int* p : {inPipe, outPipe, errPipe, report}) {
            closeFd(p[0]);
            closeFd(p[1]);
        }
        closeFd(nullFd);
    };
    bool needNull = setup.input == Input::Null || setup.output == Output::Null ||
                    setup.errors == Errors::Null;
    if ((needNull && (nullFd = open("/dev/null", O_RDWR | O_CLOEXEC)) < 0) ||
        (setup.input == Input::Pipe && !makePipe(inPipe)) ||
        (setup.output == Output::Pipe && !makePipe(outPipe)) ||
        (setup.errors == Errors::Pipe && !makePipe(errPipe)) || !makePipe(report)) {
        error_ = std::string("cannot create a pipe: ") + std::strerror(errno);
        cleanup();
        return false;
    }
    int childIn = setup.input == Input::Pipe ? inPipe[0] : setup.input == Input::Null ? nullFd : -1;
    int childOut = setup.output == Output::Pipe ? outPipe[1]
                   : setup.output == Output::Null ? nullFd
                                                  : -1;
    int childErr = -1;
    switch (setup.errors) {
    case Errors::Pipe: childErr = errPipe[1]; break;
    case Errors::Null: childErr = nullFd; break;
    case Errors::WithOutput: childErr = childOut >= 0 ? childOut : 1; break;
    case Errors::Inherit: break;
    }

    std::vector<char*> argv;
    for (const auto& a : setup.argv) argv.push_back(const_cast<char*>(a.c_str()));
    if (argv.empty()) argv.push_back(const_cast<char*>(setup.program.c_str()));
    argv.push_back(nullptr);

    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("cannot start ") + setup.program + ": " + std::strerror(errno);
        cleanup();
        return false;
    }
    if (pid == 0) execChild(setup, argv.data(), parent, childIn, childOut, childErr, report[1]);

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
    in_ = inPipe[1];
    inPipe[1] = -1;
    out_ = outPipe[0];
    outPipe[0] = -1;
    err_ = errPipe[0];
    errPipe[0] = -1;
    cleanup();
    return true;
}

void ChildProcess::closeInput() { closeFd(in_); }
void ChildProcess::closeOutput() { closeFd(out_); }
void ChildProcess::closeErrors() { closeFd(err_); }

void ChildProcess::signal(int sig) const
{
    if (pid_ > 0) kill(pid_, sig);
}

int ChildProcess::wait()
{
    if (pid_ <= 0) return -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            pid_ = -1;
            return -1;
        }
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool readAvailable(int fd, std::string& into)
{
    char buf[16384];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n > 0) {
            into.append(buf, static_cast<size_t>(n));
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        return false;
    }
}

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

Captured runAndCapture(const std::string& program, const std::vector<std::string>& args)
{
    Captured result;
    ChildProcess child;
    ChildProcess::Setup setup;
    setup.program = program;
    setup.argv.push_back(program);
    setup.argv.insert(setup.argv.end(), args.begin(), args.end());
    setup.input = ChildProcess::Input::Null;
    setup.output = ChildProcess::Output::Pipe;
    setup.errors = ChildProcess::Errors::Pipe;
    if (!child.start(setup)) {
        result.startError = child.error();
        return result;
    }
    pollfd fds[2] = {{child.outputFd(), POLLIN, 0}, {child.errorFd(), POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            if (!readAvailable(fds[i].fd, i == 0 ? result.output : result.errors)) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    result.exitCode = child.wait();
    return result;
}

} // namespace qorvid::tools
