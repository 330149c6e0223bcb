#include "support/fakes.h"

#include <algorithm>

namespace qorvid::test {

const FakeStep& FakeChild::step() const
{
    return steps_[std::min<std::size_t>(polls > 0 ? polls - 1 : 0, steps_.size() - 1)];
}

bool FakeChild::alive()
{
    // alive() opens each poll: the output of every step up to this one is out.
    ++polls;
    for (; released_ < std::min<int>(polls, static_cast<int>(steps_.size())); ++released_)
        pending_ += steps_[static_cast<std::size_t>(released_)].output;
    return !terminated && step().alive;
}

long FakeChild::peek()
{
    if (!pending_.empty()) return static_cast<long>(pending_.size());
    return step().brokenPipe ? -1 : 0;
}

std::string FakeChild::read(std::size_t maxBytes)
{
    std::string out = pending_.substr(0, maxBytes);
    pending_.erase(0, out.size());
    return out;
}

namespace {
class SharedChild final : public ChildProcess {
public:
    explicit SharedChild(std::shared_ptr<FakeChild> c) : c_(std::move(c)) {}
    bool alive() override { return c_->alive(); }
    long peek() override { return c_->peek(); }
    std::string read(std::size_t n) override { return c_->read(n); }
    bool write(const std::string& t) override { return c_->write(t); }
    void terminate() override { c_->terminate(); }
    void close() override { c_->close(); }
    int pid() const override { return c_->pid(); }
    int exitCode() const override { return c_->exitCode(); }

private:
    std::shared_ptr<FakeChild> c_;
};
} // namespace

std::unique_ptr<ChildProcess> ScriptedLauncher::start(const std::string& commandLine, const StartOptions&)
{
    started.push_back(commandLine);
    auto rule = std::find_if(rules_.rbegin(), rules_.rend(),
                             [&](const auto& r) { return commandLine.find(r.first) != std::string::npos; });
    const std::vector<FakeStep> endsAtOnce{{"", false}};
    children.push_back(std::make_shared<FakeChild>(rule == rules_.rend() ? endsAtOnce : rule->second));
    return std::make_unique<SharedChild>(children.back());
}

} // namespace qorvid::test
