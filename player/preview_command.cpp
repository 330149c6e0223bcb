#include "player/preview_command.h"

#include "engine/format_time.h"
#include "media/job_state.h"
#include "util/file_object.h"
#include "util/text.h"

namespace qorvid {
namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

} // namespace

PreviewCommand previewCommand(const PreviewRequest& r, const JobState& job)
{
    PreviewCommand out;
    std::string& c = out.commandLine;
    c = r.toolPath + " ";
    if (contains(r.source, "*")) {
        c += "mf://" + quoted(r.source) + " -mf fps=" + numberText(job.srcFps);
    } else {
        c += quoted(r.source);
        if (toLower(fileObject().GetExtensionName(r.source)) == "gif") {
            out.animatedGif = true;
            if (job.srcLength != 0 && job.srcFps != 0) c += " -fps " + numberText(job.srcFps);
        }
    }
    c += " -vo directx -priority abovenormal";
    c += " -colorkey 0x010203 -wid " + std::to_string(r.windowId);
    c += " -autosync 100 -vf-add screenshot -autoq 10 -vf-add pp -slave -identify -idx -nokeepaspect -noaspect "
         "-framedrop -osdlevel 0";
    if (r.volume) c += " -volume " + std::to_string(*r.volume);
    c += r.subtitleArgs;
    c += r.pictureArgs;
    c += " -ss " + FormatTime(r.startSeconds, 3, 1);
    return out;
}

} // namespace qorvid
