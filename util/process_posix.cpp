#include "util/process.h"

#include "util/command_line.h"
#include "util/subprocess.h"

#include <poll.h>
#include <sys/ioctl.h>

namespace qorvid {

namespace {

// A tool whose standard output and standard error share one pipe, read by polling.
class PipedChild final : public ChildProcess {
public:
    bool start(const ArgumentVector& av, const StartOptions& options)
    {
        Subprocess::Setup setup;
        setup.program = av.program;
        setup.argv.push_back(av.program);
        setup.argv.insert(setup.argv.end(), av.args.begin(), av.args.end());
        setup.input = options.stdinPipe ? Subprocess::Input::Pipe : Subprocess::Input::Null;
        setup.output = Subprocess::Output::Pipe;
        setup.errors = Subprocess::Errors::WithOutput;
        setup.workingDir = options.workingDir;
        // The tool leads its own group: the tools it starts go with it when it is killed.
        setup.ownGroup = true;
        // The tools decide themselves how to end with us (the plugins take SIGTERM, to stop
        // their own tool first).
        setup.endWithUs = false;
        if (!child_.start(setup)) return false;
        pid_ = child_.pid();
        return true;
    }

    bool alive() override { return !child_.hasEnded(); }

    long peek() override
    {
        const int fd = child_.outputFd();
        if (fd < 0) return -1;
        int n = 0;
        if (ioctl(fd, FIONREAD, &n) != 0) return -1;
        if (n > 0) return n;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) return -1;
        return 0;
    }

    std::string read(std::size_t maxBytes) override
    {
        std::string out;
        if (child_.outputFd() >= 0 && maxBytes > 0) readAvailable(child_.outputFd(), out, maxBytes);
        return out;
    }

    bool write(const std::string& text) override
    {
        return child_.inputFd() >= 0 && writeAll(child_.inputFd(), text);
    }

    void terminate() override { child_.killGroup(); }

    void close() override
    {
        child_.closeOutput();
        child_.closeInput();
    }

    int pid() const override { return pid_; }
    int waitHandle() const override { return child_.outputFd(); }
    // A child that was not ours to reap counts as a clean end.
    int exitCode() const override { return child_.exitStatus() < 0 ? 0 : child_.exitStatus(); }

private:
    Subprocess child_;
    int pid_ = 0;
};

// A command that could not start: ended, silent.
class DeadChild final : public ChildProcess {
public:
    bool alive() override { return false; }
    long peek() override { return 0; }
    std::string read(std::size_t) override { return {}; }
    bool write(const std::string&) override { return false; }
    void terminate() override {}
    void close() override {}
    int pid() const override { return 0; }
    int exitCode() const override { return 0; }
};

class PosixLauncher final : public ProcessLauncher {
public:
    // Tools that a killed tool leaves orphaned come to us, not to init, so that they can be
    // reaped at once and nothing of a stopped run lingers.
    PosixLauncher() { adoptOrphans(); }

    std::unique_ptr<ChildProcess> start(const std::string& commandLine, const StartOptions& options) override
    {
        ArgumentVector av = splitCommandLine(commandLine);
        auto child = std::make_unique<PipedChild>();
        if (av.program.empty() || !child->start(av, options)) return std::make_unique<DeadChild>();
        return child;
    }
};

} // namespace

ProcessLauncher& systemLauncher()
{
    static PosixLauncher launcher;
    return launcher;
}

} // namespace qorvid
