#pragma once
// A slave-mode child for the console's unit tests: what it prints is queued by the test, what
// it is sent is recorded.
#include "util/process.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace qorvid::test {

struct ConsoleChildState {
    std::deque<std::string> output; // chunks; each peek sees the first one
    std::vector<std::string> written;
    bool alive = true;
    bool brokenPipe = false;
    bool shortRead = false;
    bool failedRead = false;
    bool acceptsInput = true;
    bool terminated = false;
};

class ConsoleChild final : public ChildProcess {
public:
    explicit ConsoleChild(std::shared_ptr<ConsoleChildState> s) : s_(std::move(s)) {}
    bool alive() override { return s_->alive && !s_->terminated; }
    long peek() override
    {
        if (s_->brokenPipe) return -1;
        return s_->output.empty() ? 0 : static_cast<long>(s_->output.front().size());
    }
    std::string read(std::size_t maxBytes) override
    {
        if (s_->failedRead || s_->output.empty()) return {};
        std::string chunk = s_->output.front().substr(0, maxBytes);
        s_->output.pop_front();
        if (s_->shortRead) chunk.pop_back();
        return chunk;
    }
    bool write(const std::string& text) override
    {
        if (!s_->acceptsInput || !alive()) return false;
        s_->written.push_back(text);
        return true;
    }
    void terminate() override { s_->terminated = true; }
    void close() override {}
    int pid() const override { return 777; }
    int exitCode() const override { return 0; }

private:
    std::shared_ptr<ConsoleChildState> s_;
};

class ConsoleLauncher final : public ProcessLauncher {
public:
    std::unique_ptr<ChildProcess> start(const std::string& commandLine, const StartOptions& options) override
    {
        commandLines.push_back(commandLine);
        lastOptions = options;
        if (failStart) return nullptr;
        children.push_back(std::make_shared<ConsoleChildState>());
        return std::make_unique<ConsoleChild>(children.back());
    }
    ConsoleChildState& last() { return *children.back(); }
    std::vector<std::string>& sent() { return last().written; }

    bool failStart = false;
    std::vector<std::string> commandLines;
    StartOptions lastOptions;
    std::vector<std::shared_ptr<ConsoleChildState>> children;
};

} // namespace qorvid::test
