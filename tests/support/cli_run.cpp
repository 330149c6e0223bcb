#include "support/cli_run.h"

#include "support/test_tools.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qorvid::test {

BackgroundCli::BackgroundCli(std::vector<std::string> args)
{
    std::vector<std::string> words{buildDir() + "qorvid-cli", "convert", "--lang", "tw"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_adddup2(&fa, out[1], 2);
    if (posix_spawn(&pid, words[0].c_str(), &fa, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    fd_ = out[0];
}

BackgroundCli::~BackgroundCli()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        finish();
    }
}

int BackgroundCli::finish()
{
    char buf[4096];
    for (ssize_t n; fd_ >= 0 && (n = read(fd_, buf, sizeof buf)) != 0;)
        if (n > 0) output.append(buf, static_cast<size_t>(n));
        else if (errno != EINTR) break;
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    int status = 0;
    if (pid > 0) waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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
