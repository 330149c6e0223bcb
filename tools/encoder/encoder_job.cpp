#include "encoder/encoder_job.h"

#include "common/output_relay.h"
#include "common/subtitle_text.h"
#include "common/unfinished_target.h"
#include "common/waiting_files.h"
#include "encoder/encode_options.h"
#include "encoder/ffmpeg_plan.h"
#include "encoder/job_stage.h"
#include "encoder/pieces.h"
#include "encoder/pieces_job.h"
#include "encoder/source_probe.h"
#include "util/subprocess.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid::tools {
namespace {

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// "" when the source and target can be used, else why not.
std::string sourceProblem(const std::vector<std::string>& args, const EncodeOptions& o)
{
    if (std::string waiting = firstWaitingFile(args); !waiting.empty())
        return "cannot open " + waiting + ": not a regular file";
    int fd = open(o.source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "cannot open the source " + o.source + ": " + std::strerror(errno);
    close(fd);
    if (sameFile(o.source, o.target)) return "the target is the source file " + o.target;
    if (!o.subtitles.file.empty() && access(o.subtitles.file.c_str(), R_OK) != 0)
        return "cannot open the subtitle file " + o.subtitles.file + ": " + std::strerror(errno);
    return {};
}

} // namespace

int runEncoderJob(const std::vector<std::string>& args)
{
    const auto started = std::chrono::steady_clock::now();
    ParsedOptions parsed = parseEncoderArguments(args);
    if (!parsed.error.empty()) return refuse(parsed.error);
    EncodeOptions& o = parsed.options;
    if (std::string why = sourceProblem(args, o); !why.empty()) return refuse(why);
    // FFmpeg reads subtitles as UTF-8 best: it gets a decoded copy and no code page.
    Utf8Subtitle subtitles;
    if (!o.subtitles.file.empty()) {
        if (std::string why = subtitles.open(o.subtitles.file, o.subtitles.codepage); !why.empty()) return refuse(why);
        o.subtitles.file = subtitles.path();
        o.subtitles.codepage.clear();
    }
    PlanContext ctx;
    ctx.rateInGraph = joinableEncoding(o);
    if (planNeedsSource(o))
        if (std::string why = readSource(o, ctx); !why.empty()) return refuse(why);
    if (!o.subtitles.font.empty()) ctx.fontFamily = fontFamilyOf(o.subtitles.font);

    UnfinishedTarget unfinished;
    if (!unfinished.open(o.target))
        return refuse("cannot write the target " + o.target + ": " + std::strerror(errno));
    ctx.output = unfinished.path();
    const int cores = usableCores();
    const int status = mayRunInPieces(o, cores) ? runWholeOrInPieces(o, ctx, cores, started) : runWhole(o, ctx, started);
    if (status != 0) return status;
    if (!unfinished.publish(o.target))
        return refuse("cannot move the result to " + o.target + ": " + std::strerror(errno));
    writeAll(STDOUT_FILENO, "Video stream written: " + o.target + "\n");
    return 0;
}

} // namespace qorvid::tools
