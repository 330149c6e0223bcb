#include "util/process.h"

#include "util/command_line.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qorvid {

namespace {

class PosixChild final : public ChildProcess {
public:
    PosixChild(pid_t pid, int readFd, int writeFd) : pid_(pid), readFd_(readFd), stdinFd_(writeFd) {}
    ~PosixChild() override
    {
        close();
        reap(false);
    }

    bool alive() override { return pid_ > 0 && !reap(false); }

    long peek() override
    {
        if (readFd_ < 0) return -1;
        int n = 0;
        if (ioctl(readFd_, FIONREAD, &n) != 0) return -1;
        if (n > 0) return n;
        pollfd p{readFd_, POLLIN, 0};
        if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) return -1;
        return 0;
    }

    std::string read(std::size_t maxBytes) override
    {
        std::string out;
        if (readFd_ < 0 || maxBytes == 0) return out;
        out.resize(maxBytes);
        ssize_t n;
        do {
            n = ::read(readFd_, out.data(), maxBytes);
        } while (n < 0 && errno == EINTR);
        out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return out;
    }

    bool write(const std::string& text) override
    {
        if (stdinFd_ < 0) return false;
        std::size_t done = 0;
        while (done < text.size()) {
            ssize_t n = ::write(stdinFd_, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    void terminate() override
    {
        if (pid_ <= 0) return;
        // The child leads its own process group: the tools it started go with it.
        ::kill(-pid_, SIGKILL);
        if (!reaped_) ::kill(pid_, SIGKILL);
        reap(true);
        // Killed grandchildren take a moment to go. They are ours to reap (we are their
        // subreaper), so wait, briefly, until the whole group has gone.
        for (int i = 0; i < 100; ++i) {
            while (waitpid(-pid_, nullptr, WNOHANG) > 0) {}
            if (::kill(-pid_, 0) != 0) break;
            timespec pause{0, 1000000};
            nanosleep(&pause, nullptr);
        }
    }

    void close() override
    {
        if (readFd_ >= 0) ::close(readFd_);
        if (stdinFd_ >= 0) ::close(stdinFd_);
        readFd_ = stdinFd_ = -1;
    }

    int pid() const override { return pid_; }
    int waitHandle() const override { return readFd_; }
    int exitCode() const override { return exitCode_; }

private:
    // True once the child has ended (and was reaped).
    bool reap(bool block)
    {
        if (reaped_ || pid_ <= 0) return true;
        int status = 0;
        pid_t r;
        do {
            r = waitpid(pid_, &status, block ? 0 : WNOHANG);
        } while (r < 0 && errno == EINTR);
        if (r == pid_) {
            reaped_ = true;
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else if (r < 0) {
            reaped_ = true; // not our child any more
        }
        return reaped_;
    }

    pid_t pid_;
    int readFd_;
    int stdinFd_;
    bool reaped_ = false;
    int exitCode_ = 0;
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
    PosixLauncher() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

    std::unique_ptr<ChildProcess> start(const std::string& commandLine, const StartOptions& options) override
    {
        ArgumentVector av = splitCommandLine(commandLine);
        if (av.program.empty()) return std::make_unique<DeadChild>();

        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return std::make_unique<DeadChild>();
        int in[2] = {-1, -1};
        if (options.stdinPipe && pipe2(in, O_CLOEXEC) != 0) {
            ::close(out[0]);
            ::close(out[1]);
            return std::make_unique<DeadChild>();
        }

        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        if (options.stdinPipe)
            posix_spawn_file_actions_adddup2(&fa, in[0], 0);
        else
            posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_adddup2(&fa, out[1], 2);

        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &defaults);
        posix_spawnattr_setpgroup(&attr, 0);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

        std::vector<char*> argv;
        argv.push_back(av.program.data());
        for (auto& a : av.args) argv.push_back(a.data());
        argv.push_back(nullptr);

        pid_t pid = 0;
        bool searchPath = av.program.find('/') == std::string::npos;
        int rc = searchPath ? posix_spawnp(&pid, argv[0], &fa, &attr, argv.data(), environ)
                            : posix_spawn(&pid, argv[0], &fa, &attr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        posix_spawnattr_destroy(&attr);
        ::close(out[1]);
        if (in[0] >= 0) ::close(in[0]);
        if (rc != 0) {
            ::close(out[0]);
            if (in[1] >= 0) ::close(in[1]);
            return std::make_unique<DeadChild>();
        }
        return std::make_unique<PosixChild>(pid, out[0], in[1]);
    }
};

} // namespace

ProcessLauncher& systemLauncher()
{
    static PosixLauncher launcher;
    return launcher;
}

} // namespace qorvid
