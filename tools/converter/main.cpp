// ZevraRes3: the converter. Runs FFmpeg with the system's arguments (old encoder names and
// "-vol" brought up to date) and rewrites its console output where the system relies on the
// older wording. FFmpeg writes into an unnamed file that takes the target's name only when
// the conversion succeeded: a failed or killed one leaves an earlier target as it was.
#include "common/output_relay.h"
#include "common/unfinished_target.h"
#include "common/waiting_files.h"
#include "converter/asf_preroll.h"
#include "converter/converter_arguments.h"
#include "converter/converter_output.h"
#include "util/subprocess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace qorvid::tools;
using qorvid::endWithParent;
using qorvid::Subprocess;

namespace {

int refuse(const std::string& message)
{
    std::fprintf(stderr, "ZevraRes3: %s\n", message.c_str());
    return 1;
}

// Passes the lines on and keeps FFmpeg's last message, the reason a failed run gives.
class LastMessage final : public LineRewriter {
public:
    explicit LastMessage(LineRewriter& inner) : inner_(inner) {}
    std::string line(const std::string& text) override
    {
        std::string shown = inner_.line(text);
        std::string bare = text.substr(0, text.find_last_not_of("\r\n") + 1);
        if (bare.empty() || bare.find("time=") != std::string::npos) return shown;
        last = bare;
        if (bare.find("rror") != std::string::npos) lastError = bare;
        return shown;
    }
    std::string finish() override { return inner_.finish(); }
    bool mayPrintUnfinished() const override { return inner_.mayPrintUnfinished(); }
    // The last line that reports an error, else the last line.
    std::string reason(const std::string& written, const std::string& target) const
    {
        std::string text = lastError.empty() ? last : lastError;
        for (size_t at; !written.empty() && (at = text.find(written)) != std::string::npos;)
            text.replace(at, written.size(), target);
        return text;
    }

private:
    std::string last, lastError;
    LineRewriter& inner_;
};

} // namespace

int main(int argc, char** argv)
{
    endWithParent();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (std::string waiting = firstWaitingFile(args); !waiting.empty())
        return refuse(waiting + " is not a regular file");
    std::vector<std::string> ffmpegArgs = converterArguments(args);
    const std::string target = converterTarget(args);

    UnfinishedTarget unfinished;
    if (!target.empty()) {
        if (!unfinished.open(target))
            return refuse("cannot write the target " + target + ": " + std::strerror(errno));
        ffmpegArgs = writingInto(ffmpegArgs, target, unfinished.path());
    }

    Subprocess::Setup setup;
    setup.program = "ffmpeg";
    setup.argv.push_back("ffmpeg");
    setup.argv.insert(setup.argv.end(), ffmpegArgs.begin(), ffmpegArgs.end());
    setup.errors = Subprocess::Errors::Pipe;
    Subprocess ffmpeg;
    if (!ffmpeg.start(setup)) return refuse(ffmpeg.error());
    forwardSignalsTo(ffmpeg.pid());
    ConverterOutputRewriter rewriter(asfPrerollSeconds(converterInput(args)));
    LastMessage messages(rewriter);
    relayLines(ffmpeg.errorFd(), STDERR_FILENO, messages);
    int status = ffmpeg.wait();
    if (target.empty()) exitLike(status);
    if (status != 0 || forwardedSignal() != 0) {
        refuse(forwardedSignal() != 0 ? "conversion stopped by a signal, no target written"
                                      : "conversion failed, no target written (" + messages.reason(unfinished.path(), target) + ")");
        exitLike(status != 0 ? status : 1);
    }
    if (!unfinished.publish(target))
        return refuse("cannot move the result to " + target + ": " + std::strerror(errno));
    return 0;
}
