#include "player/console_tool.h"

#include "app/close_stale_tools.h"

namespace qorvid {

std::string toolCommandLine(const std::string& command, bool paused)
{
    const bool keepsState = command == "pause" || command == "frame_step";
    return (paused && !keepsState ? "pausing " : "") + command + "\n";
}

ConsoleTool::ConsoleTool(ProcessLauncher& launcher) : launcher_(launcher) {}

ConsoleTool::~ConsoleTool() { stopConsoleTool(); }

int ConsoleTool::startConsoleTool(const std::string& commandLine, ConsoleOwner* owner, bool& showWindow,
                                  const std::string& workingDir)
{
    stopConsoleTool();
    if (!stalePrefix_.empty()) closeStaleTools(stalePrefix_);
    if (showDosWindow) showWindow = true;
    owner_ = owner;
    StartOptions options;
    options.showWindow = showWindow;
    options.stdinPipe = true;
    options.workingDir = workingDir;
    auto child = launcher_.start(commandLine, options);
    if (!child || child->pid() <= 0) return kNoProcess;
    child_ = std::move(child);
    toolWindow_ = 0;
    return kStarted;
}

int ConsoleTool::sendToolCommand(const std::string& command, bool paused)
{
    if (!child_ || !child_->write(toolCommandLine(command, paused))) return 3;
    return 0;
}

void ConsoleTool::tellOwner()
{
    if (owner_) owner_->setStopDosIo();
}

int ConsoleTool::readToolOutput(std::string& text)
{
    if (!owner_) return kRead;
    text.clear();
    if (!child_) return kNothingWaiting;
    const long waiting = child_->peek();
    if (waiting < 0) {
        tellOwner();
        return kPeekFailed;
    }
    if (waiting == 0) {
        if (!isToolAlive()) tellOwner();
        return kNothingWaiting;
    }
    if (waiting > kBufferSize) {
        tellOwner();
        return kRead;
    }
    text = child_->read(static_cast<std::size_t>(waiting));
    if (text.empty()) {
        tellOwner();
        return kReadFailed;
    }
    return static_cast<long>(text.size()) < waiting ? kShortRead : kRead;
}

bool ConsoleTool::isToolAlive() { return child_ && child_->alive(); }

void ConsoleTool::stopConsoleTool()
{
    if (!child_) return;
    auto letRun = [this] {
        if (letEventsRun_) letEventsRun_();
    };
    if (toolWindow_ != 0 && windows_) {
        windows_->close(toolWindow_);
        letRun();
    }
    // The child (and whatever it started) is killed at once: a closing player may hang on a
    // window that has already gone.
    child_->terminate();
    letRun();
    child_->close();
    child_.reset();
    toolWindow_ = 0;
    letRun();
}

void ConsoleTool::findToolWindow()
{
    if (!child_ || !windows_) return;
    if (std::uint64_t w = windows_->topLevelOf(child_->pid()); w != 0) toolWindow_ = w;
}

void ConsoleTool::setToolWindowTitle(const std::string& title)
{
    findToolWindow();
    if (toolWindow_ != 0 && windows_) windows_->setTitle(toolWindow_, title);
}

int ConsoleTool::outputHandle() const { return child_ ? child_->waitHandle() : -1; }

int ConsoleTool::pid() const { return child_ ? child_->pid() : 0; }

} // namespace qorvid
