#pragma once
#include <memory>
#include <string>

namespace qorvid {

// One child process whose standard output and standard error share one pipe, read by polling.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;
    // True while the process runs (it has not exited and was not reaped).
    virtual bool alive() = 0;
    // Bytes waiting in the pipe; -1 when the pipe is broken (every writer has closed it).
    virtual long peek() = 0;
    // Reads at most maxBytes of what is waiting; never blocks.
    virtual std::string read(std::size_t maxBytes) = 0;
    // Writes a line to the child's standard input (slave mode); false when it has none.
    virtual bool write(const std::string& text) = 0;
    // Ends the process and everything it started, at once.
    virtual void terminate() = 0;
    // Releases the pipe; a process still running is left alone.
    virtual void close() = 0;
    virtual int pid() const = 0;
    // The pipe's descriptor, for waiting on it; -1 when there is none.
    virtual int waitHandle() const { return -1; }
    // Exit code once ended; 0 for a process that never started.
    virtual int exitCode() const = 0;
};

struct StartOptions {
    bool showWindow = false;  // no console windows on this platform; kept for the callers' sake
    bool stdinPipe = false;   // slave mode: commands are written to standard input
    std::string workingDir;   // empty: ours; the player saves still pictures into it
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the command line (split as the system writes it, never through a shell).
    // A command that cannot start gives a process that has ended with nothing to read.
    virtual std::unique_ptr<ChildProcess> start(const std::string& commandLine, const StartOptions& options) = 0;
};

ProcessLauncher& systemLauncher();

} // namespace qorvid
