#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qorvid {

// One child program started from an argument vector, never through a shell. Dropping a
// Subprocess whose child still runs kills the child and waits for it, so none is left behind.
class Subprocess {
public:
    enum class Input { Inherit, Pipe, Null };
    enum class Output { Inherit, Pipe, Null };
    enum class Errors { Inherit, Pipe, Null, WithOutput };

    struct Setup {
        std::string program;           // looked up in PATH when it holds no "/"
        std::vector<std::string> argv; // argv[0] is what the child sees as its own name
        Input input = Input::Inherit;
        Output output = Output::Inherit;
        Errors errors = Errors::Inherit;
        std::string workingDir;                              // empty: ours
        std::optional<std::vector<std::string>> environment; // "NAME=value" entries; none: ours
        // The child leads a process group of its own, so that killGroup() also ends the
        // programs it starts itself.
        bool ownGroup = false;
        // The kernel kills the child (SIGKILL) when the thread that started it ends.
        bool endWithUs = true;
    };

    Subprocess() = default;
    ~Subprocess();
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    // Returns once the program runs; false with error() set when it cannot be started.
    bool start(const Setup& setup);
    const std::string& error() const { return error_; }
    // -1 once the child has been reaped.
    pid_t pid() const { return pid_; }

    int inputFd() const { return in_; }
    int outputFd() const { return out_; }
    int errorFd() const { return err_; }
    void closeInput();
    void closeOutput();
    void closeErrors();

    void signal(int sig) const;
    // SIGKILL to the child and, when it leads one, its whole group (even after the child
    // itself has ended); returns once the child is reaped and the group has gone.
    void killGroup();
    // Waits for the end and returns exitStatus().
    int wait();
    // Reaps the child if it has ended, without blocking. True once it has (or never ran).
    bool hasEnded();
    // Exit status, or 128 + signal number when a signal ended it; -1 before the end or
    // when the child was not ours to reap.
    int exitStatus() const { return status_; }

private:
    bool reap(bool block);

    pid_t pid_ = -1;
    pid_t group_ = -1;
    int status_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    std::string error_;
};

// Reads at most maxBytes of what is waiting on the descriptor (blocks only when nothing is)
// and appends it; false at end of file or on an error.
bool readAvailable(int fd, std::string& into, std::size_t maxBytes = 16384);

// Writes everything, retrying on interruption; false when the reader is gone.
bool writeAll(int fd, const std::string& text);

class Clock;

// The bounds of one run of a child: it is stopped when it has printed nothing for silenceMs,
// or when it has run totalMs in all, whatever it prints.
struct RunLimits {
    std::int64_t silenceMs = 60 * 1000;
    std::int64_t totalMs = 10 * 60 * 1000;
    Clock* clock = nullptr; // null: the machine's
};

// Keeps the time of a run against its limits.
class RunWatch {
public:
    explicit RunWatch(const RunLimits& limits);
    Clock& clock() { return clock_; }
    // The child printed something.
    void heard();
    // Milliseconds until a limit is reached (at most a day); 0 once one has been.
    int leftMs();
    // Whether the limit reached was the silence one.
    bool silent();

private:
    Clock& clock_;
    RunLimits limits_;
    std::int64_t started_;
    std::int64_t heard_;
};

// Runs a program to its end and returns its standard output and standard error. A child that
// outruns the limits is killed (exitCode 137) and timedOut is set.
struct Captured {
    int exitCode = -1;
    std::string output;
    std::string errors;
    std::string startError;
    bool timedOut = false;
};
Captured runAndCapture(const std::string& program, const std::vector<std::string>& args,
                       const RunLimits& limits = {});

// This process gets SIGTERM when the program that started it dies, even by SIGKILL, so that it
// never runs on orphaned (and the children it started with endWithUs go with it).
void endWithParent();
// Orphans of our children's children come to this process instead of to init, so that
// killGroup() can reap them at once.
void adoptOrphans();

} // namespace qorvid
