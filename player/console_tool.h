#pragma once
#include "util/process.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qorvid {

// Whoever started the console tool; told when the tool has gone (broken or empty pipe).
class ConsoleOwner {
public:
    virtual ~ConsoleOwner() = default;
    virtual void setStopDosIo() = 0;
};

// The desktop's top-level windows of a process, for setting the tool window's title and for
// closing it. The default knows none.
class ToolWindows {
public:
    virtual ~ToolWindows() = default;
    // The first parentless top-level window of the process; 0 when there is none.
    virtual std::uint64_t topLevelOf(int) { return 0; }
    virtual void setTitle(std::uint64_t, const std::string&) {}
    virtual void close(std::uint64_t) {}
};

// The slave-mode console: at most one player child with a pipe on its standard input (the
// commands) and one on its standard output and standard error (status lines), read without
// ever blocking.
class ConsoleTool {
public:
    // Results of startConsoleTool.
    enum StartResult { kStarted = 0, kNoInputPipe = 1, kNoOutputPipe = 2, kNoOutputDup = 3, kNoInputDup = 4,
                       kNoProcess = 5 };
    // Results of readToolOutput.
    enum ReadResult { kRead = 0, kPeekFailed = 1, kNothingWaiting = 2, kReadFailed = 3, kShortRead = 4 };
    // What one read takes at most: more waiting than this means the reader fell behind.
    static constexpr long kBufferSize = 32767;

    explicit ConsoleTool(ProcessLauncher& launcher = systemLauncher());
    ~ConsoleTool();
    ConsoleTool(const ConsoleTool&) = delete;
    ConsoleTool& operator=(const ConsoleTool&) = delete;

    // Every start first ends leftover tools of the program folder (closeStaleTools with the
    // tool prefix); empty: none are looked for.
    void setStalePrefix(std::string prefix) { stalePrefix_ = std::move(prefix); }
    void setToolWindows(ToolWindows* windows) { windows_ = windows; }
    // Runs while stopping, so that the windows see the tool's window go.
    void setLetEventsRun(std::function<void()> letEventsRun) { letEventsRun_ = std::move(letEventsRun); }
    // Set by the main window and the output dialog: every tool is then started shown.
    bool showDosWindow = false;

    // Starts the command line (the running tool, if any, is stopped first) in the folder
    // given (empty: ours).
    int startConsoleTool(const std::string& commandLine, ConsoleOwner* owner, bool& showWindow,
                         const std::string& workingDir = {});
    // One command line; while paused, every command but "pause" and "frame_step" goes with
    // "pausing " so that the picture stays paused. 0 written, 3 nothing written.
    int sendToolCommand(const std::string& command, bool paused);
    // Everything the tool printed since the last read; see ReadResult.
    int readToolOutput(std::string& text);
    bool isToolAlive();
    void stopConsoleTool();
    void findToolWindow();
    void setToolWindowTitle(const std::string& title);

    // The output pipe, for a notifier that wakes the reader; -1 while no tool runs.
    int outputHandle() const;
    int pid() const;
    bool running() const { return child_ != nullptr; }
    // Who started the running tool.
    const ConsoleOwner* owner() const { return owner_; }

private:
    void tellOwner();

    ProcessLauncher& launcher_;
    std::unique_ptr<ChildProcess> child_;
    ConsoleOwner* owner_ = nullptr;
    ToolWindows* windows_ = nullptr;
    std::uint64_t toolWindow_ = 0;
    std::string stalePrefix_;
    std::function<void()> letEventsRun_;
};

// The command as written to the tool: the "pausing " rule and the line feed.
std::string toolCommandLine(const std::string& command, bool paused);

} // namespace qorvid
