#pragma once
#include <string>
#include <vector>

namespace qorvid::tools {

// Rewrites a tool's console output line by line on its way to our own console.
class LineRewriter {
public:
    virtual ~LineRewriter() = default;
    // A complete line with its terminator; returns the text to print (possibly empty).
    virtual std::string line(const std::string& line) = 0;
    // The end of the stream: anything still held back.
    virtual std::string finish() { return {}; }
    // Whether an unfinished line may be printed as it stands while the tool is quiet.
    virtual bool mayPrintUnfinished() const { return true; }
};

// Copies everything readable from fromFd to toFd through the rewriter until end of file.
// An unfinished line is printed after a short quiet time so that prompts are not held back.
void relayLines(int fromFd, int toFd, LineRewriter& rewriter);

// Until the child ends, SIGINT, SIGTERM and SIGHUP sent to this process are passed on to it;
// writing to a closed console no longer kills this process.
void forwardSignalsTo(int pid);
void forwardSignalsTo(const std::vector<int>& pids); // to each of several children
// The last signal that was passed on (0 when none).
int forwardedSignal();

// The exit status of a wait() result the way a shell would report it back to our caller.
[[noreturn]] void exitLike(int status);

} // namespace qorvid::tools
