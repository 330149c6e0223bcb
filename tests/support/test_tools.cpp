#include "support/test_tools.h"

#include "util/subprocess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid::test {

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "qorvid-test-XXXXXX").string();
    char* made = mkdtemp(tmpl.data());
    if (!made) throw std::runtime_error("mkdtemp failed");
    path_ = std::string(made) + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

namespace {

// Reads the output to its end; with a guard, kills the program once the guard has run out.
void readUntilEnd(Subprocess& child, int guardSeconds, RunResult& result)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(guardSeconds);
    for (;;) {
        if (guardSeconds > 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{child.outputFd(), POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) == 0) {
                result.hung = true;
                child.signal(SIGKILL);
                return;
            }
        }
        if (!readAvailable(child.outputFd(), result.output)) return;
    }
}

} // namespace

RunResult runProgram(const std::vector<std::string>& argv, int guardSeconds)
{
    RunResult result;
    Subprocess child;
    if (!startProgram(child, argv)) {
        result.output = "cannot start " + argv[0] + ": " + child.error();
        return result;
    }
    child.closeInput();
    readUntilEnd(child, guardSeconds, result);
    child.closeOutput();
    result.exitCode = child.wait();
    return result;
}

bool startProgram(Subprocess& child, const std::vector<std::string>& argv, Subprocess::Output output, Subprocess::Input input)
{
    Subprocess::Setup setup;
    setup.program = argv[0];
    setup.argv = argv;
    setup.input = input;
    setup.output = output;
    if (output == Subprocess::Output::Pipe) setup.errors = Subprocess::Errors::WithOutput;
    return child.start(setup);
}

void ffmpeg(const std::vector<std::string>& args)
{
    std::vector<std::string> argv{"ffmpeg", "-nostdin", "-y", "-hide_banner", "-loglevel", "error"};
    argv.insert(argv.end(), args.begin(), args.end());
    RunResult r = runProgram(argv);
    ASSERT_EQ(r.exitCode, 0) << "ffmpeg failed: " << r.output;
}

void makeMedia(const std::string& path, const std::string& picture, const std::string& sound,
               std::vector<std::string> options)
{
    std::vector<std::string> args;
    for (const std::string* input : {&picture, &sound})
        if (!input->empty()) args.insert(args.end(), {"-f", "lavfi", "-i", *input});
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(path);
    ffmpeg(args);
}

std::string ffprobeValue(const std::string& file, const std::string& streamSpec, const std::string& entry)
{
    std::vector<std::string> argv{"ffprobe", "-v", "error", "-of", "default=nw=1"};
    if (!streamSpec.empty()) argv.insert(argv.end(), {"-select_streams", streamSpec});
    argv.insert(argv.end(), {"-show_entries", (streamSpec.empty() ? "format=" : "stream=") + entry, file});
    std::istringstream lines(runProgram(argv).output);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(entry + "=", 0) == 0) return line.substr(entry.size() + 1);
    return {};
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f << bytes;
}

std::string writeScript(const std::string& path, const std::string& body)
{
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::string buildDir() { return std::string(QORVID_BUILD_DIR) + "/"; }
std::string sourceDir() { return std::string(QORVID_SOURCE_DIR) + "/"; }

namespace {
void putEnv(const std::string& name, const char* value)
{
    if (value)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}
} // namespace

void ScopedEnv::set(const std::string& name, const char* value)
{
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, old ? old : "", old != nullptr});
    putEnv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    // Newest first, so that a variable set twice ends as it was before the first.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        putEnv(it->name, it->wasSet ? it->value.c_str() : nullptr);
}

namespace {

// Whether a process with this id still exists (and is not a zombie).
bool processAlive(int pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return false;
    std::string all;
    std::getline(stat, all);
    auto close = all.rfind(')');
    return close != std::string::npos && close + 2 < all.size() && all[close + 2] != 'Z';
}

} // namespace

std::vector<int> processesMatching(const std::string& text)
{
    std::vector<int> pids;
    DIR* proc = opendir("/proc");
    if (!proc) return pids;
    uid_t me = getuid();
    while (dirent* e = readdir(proc)) {
        int pid = std::atoi(e->d_name);
        if (pid <= 0 || pid == getpid()) continue;
        std::string base = std::string("/proc/") + e->d_name;
        struct stat st {};
        if (::stat(base.c_str(), &st) != 0 || st.st_uid != me) continue;
        std::string cmd = readFile(base + "/cmdline");
        for (char& c : cmd)
            if (c == '\0') c = ' ';
        if (cmd.find(text) != std::string::npos && processAlive(pid)) pids.push_back(pid);
    }
    closedir(proc);
    return pids;
}

} // namespace qorvid::test
