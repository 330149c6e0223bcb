#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

namespace qorvid::tools {

// One child program started from an argument vector (never through a shell). The child is
// killed by the kernel when this process dies, so a killed plugin leaves no tool running.
class ChildProcess {
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
        std::string workingDir; // empty: ours
    };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False with error() set when the program cannot be started.
    bool start(const Setup& setup);
    const std::string& error() const { return error_; }
    pid_t pid() const { return pid_; }

    int inputFd() const { return in_; }
    int outputFd() const { return out_; }
    int errorFd() const { return err_; }
    void closeInput();
    void closeOutput();
    void closeErrors();

    void signal(int sig) const;
    // Waits for the end; exit status, or 128 + signal number.
    int wait();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    std::string error_;
};

// Reads what is waiting on the descriptor without blocking; false at end of file or error.
bool readAvailable(int fd, std::string& into);

// Writes everything, retrying on interruption; false when the reader is gone.
bool writeAll(int fd, const std::string& text);

// Runs a program to its end and returns its standard output (and standard error when asked).
struct Captured {
    int exitCode = -1;
    std::string output;
    std::string errors;
    std::string startError;
};
Captured runAndCapture(const std::string& program, const std::vector<std::string>& args);

} // namespace qorvid::tools
