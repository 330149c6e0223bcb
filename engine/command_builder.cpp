#include "engine/command_builder.h"

#include "app/lang_text.h"
#include "media/format_catalog.h"
#include "engine/format_time.h"
#include "util/file_object.h"
#include "util/reporters.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>

namespace qorvid {

namespace {

// Only the part of a list choice before its first "(" is its value.
std::string beforeParen(const std::string& text)
{
    auto p = text.find('(');
    return p == std::string::npos ? text : text.substr(0, p);
}

std::string withoutBlanks(std::string text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
    return text;
}

double fpsValue(const std::string& fpsText, float srcFps)
{
    double v = leadingNumber(beforeParen(fpsText));
    return v == 0 ? static_cast<double>(srcFps) : v;
}

bool isMpegExt(const std::string& ext) { return ext == "mpg" || ext == "mpeg"; }

// The pieces that follow the codec settings of every re-encoding video template.
std::string videoTail(const JobState& job, const std::string& cut, const std::string& mc)
{
    return cut + job.colorArgs + job.sizeArgs + job.rotateArgs + job.subtitleArgs + job.audioArgs +
           job.volumeArgs + " -vf-add harddup" + mc;
}

struct Derived {
    std::string fps, vrate, arate, cut, mc;
    std::string gop, maxrate;
};

std::string videoCommand(const JobState& job, const Derived& d)
{
    const TargetKind k = job.targetKind;
    const std::string tail = videoTail(job, d.cut, d.mc);
    if (k == TargetKind::Mpeg1) {
        std::string v = leadingNumber(d.vrate) < 1200 ? "1200" : d.vrate;
        return " -oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:keyint=" + d.gop +
               ":vrc_buf_size=" + v + ":vrc_minrate=" + v + ":vrc_maxrate=" + v + ":vbitrate=" + v +
               ":acodec=mp2:abitrate=" + d.arate + " -ofps " + d.fps + tail;
    }
    if (k == TargetKind::Vcd)
        return " -oac lavc -ovc lavc -of lavf -lavfopts format=vcd -lavcopts vcodec=mpeg1video:"
               "keyint=18:vrc_buf_size=1152:vrc_minrate=1152:vrc_maxrate=1152:vbitrate=1152"
               ":acodec=mp2:abitrate=224 -ofps 30000/1001" + tail;
    if (k == TargetKind::Mpeg2)
        return " -oac lavc -ovc lavc -of mpeg -mpegopts format=mpeg2 -lavcopts vcodec=mpeg2video:keyint=" + d.gop +
               ":vrc_buf_size=" + d.vrate + ":vrc_maxrate=" + d.maxrate + ":vbitrate=" + d.vrate +
               ":vstrict=0:acodec=mp2:abitrate=" + d.arate + " -ofps " + d.fps + tail;
    if (k == TargetKind::Dvd)
        return " -oac lavc -ovc lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts vcodec=mpeg2video:"
               "keyint=18:vrc_buf_size=1835:vrc_maxrate=9000:vbitrate=4800:vstrict=0"
               ":acodec=ac3:abitrate=320 -ofps 30000/1001" + tail;
    if (k == TargetKind::Wmv7 || k == TargetKind::Wmv8) {
        const bool v7 = k == TargetKind::Wmv7;
        return std::string(" -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=") +
               (v7 ? "wmv1" : "wmv2") + ":keyint=" + d.gop + ":vbitrate=" + d.vrate +
               (v7 ? ":acodec=wmav1:abitrate=" : ":acodec=wmav2:abitrate=") + d.arate + " -ofps " + d.fps + tail;
    }
    if (k == TargetKind::Mp42) {
        if (job.targetExt == "wmv")
            return " -noodml -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=msmpeg4v2:keyint=" +
                   d.gop + ":vbitrate=" + d.vrate + ":acodec=wmav2:abitrate=" + d.arate + " -ofps " + d.fps + tail;
        return " -noodml -ovc lavc -of lavf -lavfopts format=avi -lavcopts vcodec=msmpeg4v2:keyint=" + d.gop +
               ":vbitrate=" + d.vrate + " -oac mp3lame -lameopts cbr:br=" + d.arate + " -ofps " + d.fps + tail;
    }
    if (k == TargetKind::XviD)
        return " -noodml -ofps " + d.fps + " -ovc xvid -xvidencopts max_key_interval=" + d.gop + ":bitrate=" +
               d.vrate + ":max_bframes=0:quant_type=h263:me_quality=4 -oac mp3lame -lameopts cbr:br=" + d.arate + tail;
    if (k == TargetKind::DivX)
        return " -noodml -ofps " + d.fps + " -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=" + d.gop +
               ":vbitrate=" + d.vrate + " -oac mp3lame -lameopts cbr:br=" + d.arate + tail;
    if (k == TargetKind::H264)
        return " -noodml -ofps " + d.fps + " -ovc x264 -x264encopts keyint=" + d.gop + ":bitrate=" + d.vrate +
               ":bframes=0 -oac mp3lame -lameopts cbr:br=" + d.arate + tail;
    if (k == TargetKind::AudIsMp3) {
        const std::string mc = job.srcVideoFormat == "flv1" ? " -mc 1" : " -mc 0";
        return " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=" + d.arate + d.cut + job.audioArgs +
               job.volumeArgs + " -vf-add harddup" + mc;
    }
    return {};
}

std::string quickOperationCommand(const JobState& job, const Derived& d, bool mp3Note)
{
    const std::string& ext = job.targetExt;
    const bool mpeg2Source = job.srcVideoFormat == "0x10000002";
    const bool wma1Source = contains(job.srcAudioCodec, "wmav1");
    const std::string wmaCodec = wma1Source ? "acodec=wmav1:abitrate=" : "acodec=wmav2:abitrate=";
    const std::string mc = " -mc 0";
    const std::string harddup = " -vf-add harddup";
    const std::string srcBitrate = std::to_string(job.srcAudioBitrate);
    const std::string srcChannels = std::to_string(job.srcAudioChannels);
    const std::string mp3FromSource = " -oac mp3lame -lameopts cbr:br=" + srcBitrate + " -channels " + srcChannels +
                                      " -srate " + std::to_string(job.srcAudioRate) +
                                      " -af-add channels=" + srcChannels;

    if (job.targetKind == TargetKind::OnlyTransVol) {
        const std::string sound = d.cut + job.audioArgs + job.volumeArgs + harddup + mc;
        if (isMpegExt(ext) && mpeg2Source)
            return " -ovc copy -oac lavc -of mpeg -mpegopts format=mpeg2 -lavcopts acodec=mp2:abitrate=" + d.arate + sound;
        if (isMpegExt(ext))
            return " -ovc copy -oac lavc -of lavf -lavfopts format=vcd -lavcopts acodec=mp2:abitrate=" + d.arate + sound;
        if (ext == "dat")
            return " -ovc copy -oac lavc -of lavf -lavfopts format=vcd -lavcopts acodec=mp2:abitrate=224" + sound;
        if (ext == "vob")
            return " -ovc copy -oac lavc -of mpeg -mpegopts format=dvd:tsaf -lavcopts acodec=ac3:abitrate=320" + sound;
        if (ext == "wmv")
            return " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts " + wmaCodec + d.arate + sound;
        return " -noodml -ovc copy -oac mp3lame -lameopts cbr:br=" + d.arate + sound;
    }
    if (job.targetKind == TargetKind::OnlyCut) {
        const std::string end = d.cut + harddup + mc;
        if (isMpegExt(ext) && mpeg2Source) return " -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2" + end;
        if (isMpegExt(ext) || ext == "dat") return " -ovc copy -oac copy -of lavf -lavfopts format=vcd" + end;
        if (ext == "vob") return " -ovc copy -oac copy -of mpeg -mpegopts format=dvd:tsaf" + end;
        if (ext == "wmv")
            return " -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts " + wmaCodec + srcBitrate +
                   job.audioArgs + end;
        if (mp3Note) return " -noodml -ovc copy" + mp3FromSource + end;
        return " -noodml -ovc copy -oac copy" + end;
    }
    if (job.targetKind == TargetKind::OnlyFix) {
        const std::string end = harddup + mc;
        if (isMpegExt(ext) && mpeg2Source) return " -idx -ovc copy -oac copy -of mpeg -mpegopts format=mpeg2" + end;
        if (isMpegExt(ext) || ext == "dat") return " -idx -ovc copy -oac copy -of lavf -lavfopts format=vcd" + end;
        if (ext == "vob") return " -idx -ovc copy -oac copy -of mpeg -mpegopts format=dvd:tsaf" + end;
        if (ext == "wmv")
            return " -idx -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts " + wmaCodec + srcBitrate +
                   job.audioArgs + end;
        if (mp3Note) return " -noodml -idx -ovc copy" + mp3FromSource + end;
        return " -noodml -idx -ovc copy -oac copy" + end;
    }
    return {};
}

std::string converterCodec(const std::string& ext)
{
    for (const auto& e : formatCatalog())
        if (e.group == TargetGroup::Sound && e.ext == ext) return std::string(e.converterSwitches);
    return {};
}

} // namespace

std::string fpsArg(const std::string& fpsText, float srcFps)
{
    std::string text = beforeParen(fpsText);
    double v = leadingNumber(text);
    if (v == 0) return numberText(srcFps);
    if (v == 14.985) return "15000/1001";
    if (v == 23.976) return "24000/1001";
    if (v == 29.97) return "30000/1001";
    return text;
}

int gopValue(const std::string& fpsText, float srcFps)
{
    return std::max(static_cast<int>(std::trunc(fpsValue(fpsText, srcFps))) - 2, 2);
}

std::string videoRateArg(const std::string& videoBitrateText)
{
    std::string rate = withoutBlanks(beforeParen(videoBitrateText));
    return leadingNumber(rate) == 0 ? "800" : rate;
}

std::string audioRateArg(const std::string& audioBitrateText)
{
    std::string rate = withoutBlanks(beforeParen(audioBitrateText));
    return leadingNumber(rate) == 0 ? "64" : rate;
}

int maxRateValue(const std::string& vrate)
{
    return static_cast<int>(std::nearbyint(std::min(3 * leadingNumber(vrate), 9000.0)));
}

std::string computeCut(const JobState& job)
{
    if (job.markEnd == 0) return {};
    return " -ss " + FormatTime(job.markStart, 3, 1) + " -endpos " + FormatTime(job.jobLength, 3, 1);
}

std::string mcSwitch(const JobState& job, bool retry)
{
    if (retry) return " -mc 0";
    if (contains(job.srcVideoFormat, "svq") && job.srcAudioCodec == "pcm") return " -mc 0";
    return " -mc 1";
}

std::string expectedContainer(const std::string& targetExt)
{
    if (isMpegExt(targetExt) || targetExt == "dat" || targetExt == "vob") return "mpegps";
    if (targetExt == "wmv") return "asf";
    return "avi";
}

std::string sourceFormatName(const JobState& job, const LangText& lang)
{
    std::string name = toUpper(job.srcDemuxer);
    if (name == "LAVFPREF") name = toUpper(job.srcVideoFormat);
    if (name == "OGG") name = "OGM";
    else if (name == "MP4V") name = "MP4";
    else if (name == "MPEGPS") name = "MPG";
    else if (contains(name, "FLV")) name = "FLV";
    if (name.empty()) name = lang[Msg::Unknown];
    return name;
}

std::string buildCommand(const CommandInputs& in, const LangText& lang, MessageSink& messages,
                         QuestionAsker& questions)
{
    const JobState& job = in.job;
    const bool sound = isSoundTarget(job.targetKind);
    const std::string tool = in.paths.toolPath(sound ? 3 : 2);
    if (!fileObject().FileExists(tool)) {
        messages.showMessage(lang[Msg::PluginsMissing]);
        return {};
    }

    Derived d;
    d.fps = fpsArg(job.fpsText, job.srcFps);
    d.gop = std::to_string(gopValue(job.fpsText, job.srcFps));
    d.vrate = videoRateArg(job.videoBitrateText);
    d.arate = audioRateArg(job.audioBitrateText);
    d.maxrate = std::to_string(maxRateValue(d.vrate));
    d.cut = in.cut ? *in.cut : computeCut(job);
    d.mc = mcSwitch(job, in.retry);

    if (sound) {
        return tool + " -y -i \"" + in.source + "\"" + converterCodec(job.targetExt) + " -vn -ab " +
               numberText(leadingNumber(d.arate) * 1000) + replaceAll(d.cut, "-endpos", "-t") + job.audioArgs +
               job.volumeArgs + " \"" + in.target + "\"";
    }

    const bool quick = isQuickOperation(job.targetKind);
    std::string pieces = quick ? quickOperationCommand(job, d, in.mp3Note) : videoCommand(job, d);
    if (pieces.empty()) return {};
    std::string command = tool + pieces + " \"" + in.source + "\" -o \"" + in.target + "\"";

    if (quick && job.srcDemuxer != expectedContainer(job.targetExt)) {
        std::string text = fillPlaceholders(lang[Msg::WrongVideoKind], {job.jobTitle, toUpper(job.targetExt), sourceFormatName(job, lang)});
        if (questions.ask(text, Buttons::OkCancel, /*defaultNo=*/true) != Answer::Ok) return {};
    }
    return command;
}

std::string applyCmdEditSpec(std::string command, int index)
{
    if (index < 1 || index > 3) return command;
    command = replaceAll(std::move(command), "-ofps 20 ", "-ofps 30000/1001 ");
    command = replaceAll(std::move(command), "keyint=18", "keyint=27");
    command = replaceAll(std::move(command), "key_interval=18", "key_interval=27");
    if (index == 1) return replaceAll(std::move(command), "-mc 0", "-mc 1");
    if (index == 2) return replaceAll(std::move(command), "-mc 1", "-mc 0");
    command = replaceAll(std::move(command), "-mc 0", "");
    return replaceAll(std::move(command), "-mc 1", "");
}

} // namespace qorvid
