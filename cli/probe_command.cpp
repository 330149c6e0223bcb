#include "cli/probe_command.h"

#include "cli/core_setup.h"
#include "media/mci_media_info.h"
#include "media/probe.h"
#include "media/source_check.h"
#include "util/text.h"

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace qorvid::cli {

namespace {
void printFields(const JobState& j, const std::string& verdict)
{
    auto line = [](const char* name, const std::string& value) { std::printf("%s=%s\n", name, value.c_str()); };
    line("srcWidth", std::to_string(j.srcWidth));
    line("srcHeight", std::to_string(j.srcHeight));
    line("srcFps", numberText(j.srcFps));
    line("srcLength", numberText(j.srcLength));
    line("srcDemuxer", j.srcDemuxer);
    line("srcVideoFormat", j.srcVideoFormat);
    line("srcAudioCodec", j.srcAudioCodec);
    line("srcAudioBitrate", std::to_string(j.srcAudioBitrate));
    line("srcAudioRate", std::to_string(j.srcAudioRate));
    line("srcAudioChannels", std::to_string(j.srcAudioChannels));
    line("srcTimeShift", numberText(j.srcTimeShift));
    line("srcGifFrames", std::to_string(j.srcGifFrames));
    line("verdict", verdict);
    std::fflush(stdout);
}
} // namespace

int runProbe(CoreSetup& core, const std::vector<std::string>& words)
{
    std::vector<std::string> args;
    for (const auto& w : words)
        if (w != "--" || !args.empty()) args.push_back(w);
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qorvid-cli probe FILE [--lang tw|gb|en]\n");
        return 2;
    }
    // Absolute, so that a name beginning with "-" can never read as a tool option.
    std::error_code ec;
    std::string path = std::filesystem::absolute(args[0], ec).lexically_normal().string();
    if (ec) path = args[0];

    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        core.terminal.showMessage(core.lang[Msg::ChooseSourceFirst]);
        return 1;
    }
    if (!acceptSourceFile(path, core.terminal, core.lang)) return 1;
    if (!checkToolFile(core.paths.toolPath(1), core.terminal, core.lang)) return 1;

    FfprobeMediaInfo mediaInfo(core.runner);
    ProbeContext ctx{core.runner, core.paths, core.lang, core.terminal, &mediaInfo, false, nullptr};
    core.job.clear();
    std::string verdict = analyseSource(path, core.job, ctx);
    printFields(core.job, verdict);
    return checkSource(path, core.job, false, core.terminal, core.lang) ? 0 : 1;
}

} // namespace qorvid::cli
