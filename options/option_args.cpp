#include "options/option_args.h"

#include "app/lang_text.h"
#include "media/format_catalog.h"
#include "media/job_state.h"
#include "options/option_lists.h"
#include "util/reporters.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>

namespace qorvid {

namespace {

// Shortest decimal text; a negated zero is written "0".
std::string num(double x) { return numberText(x + 0.0); }
// Round-to-whole with halves to the even neighbour (the default rounding mode).
long clng(double x) { return static_cast<long>(std::nearbyint(x)); }
long clampL(long v, long lo, long hi) { return v < lo ? lo : v > hi ? hi : v; }
int value(const std::string& text) { return static_cast<int>(leadingNumber(text)); }
long evenUp(long v) { return v % 2 != 0 ? v + 1 : v; }

std::string scale(long w, long h) { return " -vf-add scale=" + std::to_string(w) + ":" + std::to_string(h); }

bool picturePassesThrough(const JobState& job)
{
    return isQuickOperation(job.targetKind) || job.targetKind == TargetKind::AudIsMp3 || isSoundTarget(job.targetKind);
}

// A message used as a summary label, without its own "=", colon or leading comma.
std::string label(const std::string& text)
{
    std::string s = trim(text);
    for (std::string_view tail : {"=", "：", ":"})
        if (endsWith(s, tail)) s = trim(s.substr(0, s.size() - tail.size()));
    for (std::string_view head : {"，", ","})
        if (startsWith(s, head)) s = trim(s.substr(head.size()));
    return s;
}

// The sound the command writes: a cut or repair keeps the source's rates (copied, or
// re-encoded at them); the volume change of a VCD or DVD file uses that format's fixed rate.
struct SoundValues {
    std::string bitrate;
    std::string sample;
};
SoundValues soundWritten(const ConversionOptions& o, const JobState& job, const LangText& lang)
{
    const TargetKind kind = job.targetKind;
    auto known = [&](std::int32_t v) { return v > 0 ? std::to_string(v) : lang[Msg::SameAsSourceMedia]; };
    if (copiesSound(kind)) return {known(job.srcAudioBitrate), known(job.srcAudioRate)};
    if (kind == TargetKind::OnlyTransVol && job.targetExt == "dat") return {"224", o.cboAudioSample};
    if (kind == TargetKind::OnlyTransVol && job.targetExt == "vob") return {"320", o.cboAudioSample};
    return {job.audioBitrateText, o.cboAudioSample};
}

} // namespace

SizeChain sizeArgs(const ConversionOptions& o, const JobState& job)
{
    const long W = job.targetWidth, H = job.targetHeight;
    const long T = value(o.txtExpand[0]), B = value(o.txtExpand[1]);
    const long L = value(o.txtExpand[2]), R = value(o.txtExpand[3]);
    const bool cropFirst = o.optScaleCrop == 1;
    const bool fixedFrame = isFixedFrame(job.targetKind);
    const bool borders = T != 0 || B != 0 || L != 0 || R != 0;
    const std::string lt = ":" + std::to_string(L) + ":" + std::to_string(T) + ":1";

    SizeChain c;
    c.args = scale(W, H);
    c.finalWidth = static_cast<int>(W);
    c.finalHeight = static_cast<int>(H);

    // A rectangle without a preview size to measure it against cannot be scaled.
    if (o.hasCrop && o.previewWidth > 0 && o.previewHeight > 0) {
        const auto [l, t, r, b] = o.crop;
        const double rx = static_cast<double>(cropFirst ? job.srcWidth : W) / o.previewWidth;
        const double ry = static_cast<double>(cropFirst ? job.srcHeight : H) / o.previewHeight;
        const long cw = evenUp(clng(rx * (r - l)));
        const long ch = evenUp(clng(ry * (b - t)));
        const std::string crop = " -vf-add crop=" + std::to_string(cw) + ":" + std::to_string(ch) + ":" +
                                 std::to_string(static_cast<long>(std::floor(rx * l))) + ":" +
                                 std::to_string(static_cast<long>(std::floor(ry * t)));
        std::string scaled = scale(W, H);
        std::string expand;
        if (cropFirst) {
            c.finalWidth = static_cast<int>(W);
            c.finalHeight = static_cast<int>(H);
        } else {
            c.finalWidth = static_cast<int>(cw);
            c.finalHeight = static_cast<int>(ch);
        }
        if (borders && !fixedFrame) {
            const long bw = (cropFirst ? W : cw) + L + R;
            const long bh = (cropFirst ? H : ch) + T + B;
            expand = " -vf-add expand=" + std::to_string(bw) + ":" + std::to_string(bh) + lt;
            c.finalWidth = static_cast<int>(bw);
            c.finalHeight = static_cast<int>(bh);
        } else if (borders) {
            scaled = scale(clampL(W - L - R, 8, W), clampL(H - T - B, 8, H));
            expand = " -vf-add expand=" + std::to_string(W) + ":" + std::to_string(H) + lt;
            c.finalWidth = static_cast<int>(W);
            c.finalHeight = static_cast<int>(H);
        }
        c.args = cropFirst ? crop + scaled + expand : scaled + crop + expand;
        c.cropRect = {1, l, t, r, b};
        return c;
    }

    if (borders && !fixedFrame) {
        c.args = scale(W, H) + ",expand=" + std::to_string(W + L + R) + ":" + std::to_string(H + T + B) + lt;
        c.finalWidth = static_cast<int>(W + L + R);
        c.finalHeight = static_cast<int>(H + T + B);
    } else if (borders) {
        c.args = scale(clampL(W - L - R, 8, W), clampL(H - T - B, 8, H)) + ",expand=" + std::to_string(W) + ":" +
                 std::to_string(H) + lt;
    }
    return c;
}

std::string colorArgs(const ConversionOptions& o)
{
    std::string args;
    if (o.hue != 0) args += " -vf-add hue=" + num(std::floor(o.hue * 180.0 / 100)) + ":1";
    if (o.saturation != 0) {
        const double s = o.saturation;
        const double v = s < 0 ? std::round((100 + s) / 100 * 100) / 100 : 1 + std::round(2 * s / 100 * 100) / 100;
        args += " -vf-add eq2=1:1:0:" + num(v);
    }
    if (o.brightness != 0 || o.contrast != 0)
        args += " -vf-add eq=" + num(o.brightness) + ":" + num(o.contrast);
    return args;
}

std::string rotateArgs(int cboRotate)
{
    // Items 4 and 5 give 1 and 0: the filter counts its turns the other way round.
    static constexpr const char* kArgs[] = {"",
                                            " -vf-add mirror",
                                            " -vf-add flip",
                                            " -vf-add flip,mirror",
                                            " -vf-add rotate=1",
                                            " -vf-add rotate=0",
                                            " -vf-add rotate=2",
                                            " -vf-add rotate=3"};
    return cboRotate >= 0 && cboRotate < 8 ? kArgs[cboRotate] : "";
}

std::string volumeArgs(const ConversionOptions& o, const JobState& job)
{
    if (o.volume == 0) return {};
    if (isSoundTarget(job.targetKind))
        return " -vol " + std::to_string(clampL(clng(o.volume * 10.0 + 256), 0, 2560));
    return " -af-add volume=" + num(o.volume);
}

std::string buildAudioArgs(const ConversionOptions& o, const JobState& job)
{
    const double sample = leadingNumber(o.cboAudioSample);
    if (isSoundTarget(job.targetKind)) return " -ac 2 -ar " + num(sample);
    if (o.optAudio != 0) return " -nosound";

    const std::string delay = " -delay " + num(-leadingNumber(o.txtAudioDelay));
    std::string args;
    if (copiesSound(job.targetKind) && job.targetExt == "wmv") {
        const std::string ch = std::to_string(job.srcAudioChannels);
        args = delay + " -channels " + ch + " -srate " + std::to_string(job.srcAudioRate) + " -af-add channels=" + ch;
    } else {
        args = delay + " -channels 2 -srate " + num(sample) + " -af-add channels=2";
    }
    if (o.chkAudioVolnorm) args += " -af-add volnorm";
    return args;
}

std::string buildSubtitleArgs(const ConversionOptions& o, const JobState& job, bool preview)
{
    if (o.optSub != 1) return {};
    if (!preview && !subtitlesAllowed(o, job)) return {};
    std::string args = " -sub \"" + trim(o.txtSubFile) + "\"";
    if (!o.subFontFile.empty()) args += " -font \"" + o.subFontFile + "\"";
    args += " -subfont-text-scale " + std::to_string(clampL(clng(leadingNumber(o.txtSubSize)), 0, 100));
    args += " -subfont-outline " + std::to_string(clampL(clng(leadingNumber(o.txtSubOutline)), 0, 8));
    args += " -subfont-blur " + std::to_string(clampL(clng(leadingNumber(o.txtSubBlur)), 0, 8));
    args += " -subpos " + std::to_string(clampL(clng(100 - leadingNumber(o.txtSubPosHgt)), 0, 100));
    args += " -subdelay " + num(-leadingNumber(o.txtSubDelay));
    const std::string cp = codePageToken(o.cboSubcp);
    if (!cp.empty()) args += " -subcp " + cp;
    return args;
}

std::string buildSummary(const ConversionOptions& o, const JobState& job, const LangText& lang)
{
    const std::string eol = "\r\n";
    const std::string dashes(24, '-');
    auto line = [&](Msg message, const std::string& value) { return label(lang[message]) + " = " + value + eol; };

    const bool sound = isSoundTarget(job.targetKind);
    const bool picture = !picturePassesThrough(job);
    const bool soundOn = sound || o.optAudio == 0;
    const SizeChain size = sizeArgs(o, job);

    std::string text = line(Msg::SetTargetFormat, o.formatCaption) + dashes + eol;
    if (!sound) {
        text += line(Msg::FinalPictureSize, picture ? std::to_string(size.finalWidth) + " x " + std::to_string(size.finalHeight)
                                 : lang[Msg::SameAsSourceMedia]);
        text += line(Msg::FrameRateSuffix, job.fpsText);
        text += line(Msg::VideoBitrate, job.videoBitrateText);
    }
    if (soundOn) {
        const SoundValues written = soundWritten(o, job, lang);
        text += line(Msg::AudioBitrate, written.bitrate);
        text += line(Msg::SampleRate, written.sample);
    }
    text += dashes + eol;

    const bool borders = std::any_of(o.txtExpand.begin(), o.txtExpand.end(),
                                     [](const std::string& t) { return leadingNumber(t) != 0; });
    std::string other = lang[picture && size.cropRect[0] == 1 ? Msg::Cropped : Msg::NotCropped];
    other += lang[Msg::ListSeparator] + lang[picture && borders ? Msg::WithBorders : Msg::NoBorders];
    other += lang[Msg::ListSeparator] + lang[buildSubtitleArgs(o, job).empty() ? Msg::NoSubtitles : Msg::WithSubtitles];
    if (soundOn && !sound && o.chkAudioVolnorm) other += lang[Msg::ListSeparator] + lang[Msg::VolumeNormalisation];
    if (!soundOn) other += lang[Msg::ListSeparator] + lang[Msg::NoSoundOutput];
    text += label(lang[Msg::OtherSettings]) + " = " + other;
    return text;
}

OkOutcome applyOptions(ConversionOptions& o, JobState& job, const LangText& lang, MessageSink& messages)
{
    OkOutcome out;
    normaliseNumberBoxes(o);

    // Each field is written as soon as its own check passed.
    if ((out.failure = checkFrameRate(o, lang))) return out;
    job.fpsText = o.cboFps;
    if ((out.failure = checkVideoBitrate(o, lang))) return out;
    job.videoBitrateText = o.cboVideoBitrate;
    if ((out.failure = checkAudioBitrate(o, lang))) return out;
    job.audioBitrateText = o.cboAudioBitrate;
    if ((out.failure = checkWidth(o, lang))) return out;
    job.targetWidth = static_cast<std::int32_t>(clng(leadingNumber(o.txtSize[0])));
    if ((out.failure = checkHeight(o, lang))) return out;
    job.targetHeight = static_cast<std::int32_t>(clng(leadingNumber(o.txtSize[1])));
    if ((out.failure = checkRotateBorders(o, lang))) return out;

    job.audioArgs = buildAudioArgs(o, job);
    if ((out.failure = checkSubtitleFile(o, job, lang))) return out;
    job.subtitleArgs = buildSubtitleArgs(o, job);

    const SizeChain size = sizeArgs(o, job);
    job.sizeArgs = size.args;
    job.cropRect = size.cropRect;
    // Without an end mark there is no range: both marks go, 0 stands for the whole length.
    if (!o.lblMark[1]) {
        o.lblMark = {};
        o.txtScope = {"00:00:00.0", "00:00:00.0"};
    }
    job.markStart = o.lblMark[1] ? o.lblMark[0].value_or(0.0f) : 0.0f;
    job.markEnd = o.lblMark[1].value_or(0.0f);
    job.volumeArgs = volumeArgs(o, job);
    job.rotateArgs = rotateArgs(o.cboRotate);
    if (contains(job.rotateArgs, "rotate") && !job.subtitleArgs.empty()) messages.showMessage(lang[Msg::SubtitleRotationNote]);
    job.colorArgs = colorArgs(o);

    out.summary = buildSummary(o, job, lang);
    return out;
}

} // namespace qorvid
