#include "support/fakes.h"

#include <algorithm>

namespace qorvid::test {
namespace {

class FakeChild final : public ChildProcess {
public:
    FakeChild(std::vector<FakeStep> steps, FakeRun& run) : steps_(std::move(steps)), run_(run) {}
    bool alive() override
    {
        // alive() opens each poll: the output of every step up to this one is out.
        ++run_.polls;
        for (; released_ < std::min<int>(run_.polls, static_cast<int>(steps_.size())); ++released_)
            pending_ += steps_[static_cast<std::size_t>(released_)].output;
        return !run_.terminated && step().alive;
    }
    long peek() override
    {
        if (!pending_.empty()) return static_cast<long>(pending_.size());
        return step().brokenPipe ? -1 : 0;
    }
    std::string read(std::size_t maxBytes) override
    {
        std::string out = pending_.substr(0, maxBytes);
        pending_.erase(0, out.size());
        return out;
    }
    bool write(const std::string&) override { return false; }
    void terminate() override { run_.terminated = true; }
    void close() override { run_.closed = true; }
    int pid() const override { return 4242; }
    int exitCode() const override { return 0; }

private:
    const FakeStep& step() const
    {
        return steps_[std::min<std::size_t>(run_.polls > 0 ? run_.polls - 1 : 0, steps_.size() - 1)];
    }
    std::vector<FakeStep> steps_;
    FakeRun& run_;
    std::string pending_;
    int released_ = 0; // steps whose output is out
};

} // namespace

std::unique_ptr<ChildProcess> ScriptedLauncher::start(const std::string& commandLine, const StartOptions&)
{
    started.push_back(commandLine);
    auto rule = std::find_if(rules_.rbegin(), rules_.rend(),
                             [&](const auto& r) { return commandLine.find(r.first) != std::string::npos; });
    const std::vector<FakeStep> endsAtOnce{{"", false}};
    return std::make_unique<FakeChild>(rule == rules_.rend() ? endsAtOnce : rule->second, runs.emplace_back());
}

} // namespace qorvid::test
