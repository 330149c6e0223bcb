#include "options/option_presets.h"

#include "app/lang_text.h"
#include "media/format_catalog.h"
#include "media/job_state.h"
#include "options/font_list.h"
#include "options/option_args.h"
#include "options/option_lists.h"
#include "util/text.h"

namespace qorvid {

namespace {

std::string itemWithValue(const std::vector<std::string>& items, double value)
{
    int i = findListValue(items, value);
    return i >= 0 ? items[static_cast<size_t>(i)] : numberText(value);
}

void selectFps(ConversionOptions& o, int index)
{
    o.cboFpsIndex = index;
    o.cboFps = o.cboFpsList[static_cast<size_t>(index)];
}

void selectFpsValue(ConversionOptions& o, double value)
{
    int i = findListValue(o.cboFpsList, value);
    if (i >= 0) selectFps(o, i);
}

void selectSize(ConversionOptions& o, const JobState& job, const LangText& lang, int index)
{
    const auto items = fillSizeList(lang);
    o.cboSizeIndex = index;
    o.cboSize = items[static_cast<size_t>(index)];
    SizeSetting s = SetSizeSetting(index, o.txtSize[0], o.txtSize[1], job.srcWidth, job.srcHeight);
    o.txtSize = {s.width, s.height};
}

void selectSizeText(ConversionOptions& o, const JobState& job, const LangText& lang, const std::string& text)
{
    const auto items = fillSizeList(lang);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == text) return selectSize(o, job, lang, static_cast<int>(i));
}

} // namespace

void resetSubtitleGroup(ConversionOptions& o, const std::string& defaultFont)
{
    o.subFontFile = defaultFont;
    o.txtSubSize = "4";
    o.txtSubPosHgt = "5";
    o.txtSubOutline = "2";
    o.txtSubBlur = "2";
    o.txtSubDelay = "0";
}

OptionPreset presetForKind(const JobState& job, const LangText& lang, const std::string& formatCaption,
                           const std::string& subtitleFile)
{
    ConversionOptions o;
    const TargetKind kind = job.targetKind;
    const std::string& same = lang[Msg::SameAsSourceMedia];
    const auto audioItems = audioBitrateList(lang);

    o.formatCaption = formatCaption;
    o.cboFpsList = fillFpsList(lang, false);
    o.cboVideoBitrateList = fillVideoBitrateList(lang, false);
    o.txtSize = {std::to_string(job.targetWidth), std::to_string(job.targetHeight)};
    o.cboSubcp = lang[Msg::DefaultEncoding];
    o.optSub = subtitleFile.empty() ? 0 : 1;
    o.txtSubFile = subtitleFile;
    resetSubtitleGroup(o, defaultSubtitleFont(lang));

    if (isFixedFrame(kind)) {
        const bool vcd = kind == TargetKind::Vcd;
        selectFpsValue(o, 29.97);
        o.cboVideoBitrate = itemWithValue(o.cboVideoBitrateList, vcd ? 1152 : 4800);
        o.cboAudioBitrate = itemWithValue(audioItems, vcd ? 224 : 320);
        o.cboAudioSample = vcd ? "44100" : "48000";
        selectSizeText(o, job, lang, vcd ? "352 x 240" : "720 x 480");
    } else if (kind == TargetKind::Mpeg1 || kind == TargetKind::Mpeg2) {
        // The short lists: programme streams only carry the standard rates.
        o.cboFpsList = fillFpsList(lang, true);
        o.cboFpsListFromSource = false;
        selectFps(o, 0);
        o.cboVideoBitrateList = fillVideoBitrateList(lang, true);
        o.cboVideoBitrate = kind == TargetKind::Mpeg2 ? itemWithValue(o.cboVideoBitrateList, 1152) : o.cboVideoBitrateList[0];
        o.cboAudioBitrate = itemWithValue(audioItems, 64);
        o.cboAudioSample = "22050";
        selectSize(o, job, lang, 1);
    } else if (reencodesPicture(kind)) {
        if (job.targetExt == "wmv") {
            FpsListUpToSource list = fillFpsListUpToSource(lang, job.srcFps);
            o.cboFpsList = list.items;
            if (list.selected >= 0)
                selectFps(o, list.selected);
            else
                selectFpsValue(o, 20);
            // A source slower than the lowest allowed rate keeps its own rate.
            if (leadingNumber(o.cboFps) < 5) selectFps(o, 0);
        } else {
            selectFpsValue(o, 20);
        }
        o.cboVideoBitrate = itemWithValue(o.cboVideoBitrateList, 1152);
        o.cboAudioBitrate = itemWithValue(audioItems, 64);
        o.cboAudioSample = "22050";
        selectSize(o, job, lang, 1);
    } else {
        // The picture is copied or dropped: frame rate, video bit rate and size follow the source.
        selectFps(o, 0);
        o.cboVideoBitrate = same;
        o.videoBitrateFromSource = true;
        selectSize(o, job, lang, 0);
        const bool copied = copiesSound(kind);
        o.cboAudioBitrate = copied ? same : itemWithValue(audioItems, 128);
        o.audioBitrateFromSource = copied;
        o.cboAudioSample = copied ? "22050" : "44100";
        for (int page : {kPageVideo, kPageColor, kPageSubtitle}) o.pageMasked[static_cast<size_t>(page)] = true;
    }

    return {o, enablesFor(o, job)};
}

OptionEnables enablesFor(const ConversionOptions& o, const JobState& job)
{
    const TargetKind kind = job.targetKind;
    const bool sound = isSoundTarget(kind);
    OptionEnables e;

    if (isFixedFrame(kind)) {
        e.fps = e.videoBitrate = e.audioBitrate = e.audioSample = e.size = false;
        e.soundOnOff = kind == TargetKind::Dvd;
    } else if (!reencodesPicture(kind)) {
        const bool cutOrFix = copiesSound(kind);
        e.fps = e.videoBitrate = e.size = false;
        e.cropOrder = e.borders = e.rotate = e.color = false;
        e.soundOnOff = false; // these targets are about the sound, or copy it as it is
        if (cutOrFix) {
            e.audioBitrate = e.audioSample = e.volume = false;
            // Only the WMV cut and repair re-encode the sound with the delay and filters.
            e.audioDelay = e.volnorm = job.targetExt == "wmv";
        }
    }

    // The sound group follows the sound switch.
    const bool on = o.optAudio == 0;
    e.audioBitrate = e.audioBitrate && on && job.targetExt != "wav";
    e.audioSample = e.audioSample && on;
    e.audioDelay = e.audioDelay && on && !sound;
    e.volnorm = e.volnorm && on && !sound;
    e.volume = e.volume && on;

    const SizeSetting s =
        SetSizeSetting(o.cboSizeIndex, o.txtSize[0], o.txtSize[1], job.srcWidth, job.srcHeight);
    e.widthBox = e.size && s.widthEnabled;
    e.heightBox = e.size && s.heightEnabled;
    e.subtitleControls = o.optSub == 1 && !o.pageMasked[kPageSubtitle];
    return e;
}

void readBackPreset(const ConversionOptions& o, JobState& job)
{
    job.targetWidth = static_cast<std::int32_t>(leadingNumber(o.txtSize[0]));
    job.targetHeight = static_cast<std::int32_t>(leadingNumber(o.txtSize[1]));
    job.sizeArgs = " -vf-add scale=" + std::to_string(job.targetWidth) + ":" + std::to_string(job.targetHeight);
    job.fpsText = o.cboFps;
    job.videoBitrateText = o.cboVideoBitrate;
    job.audioBitrateText = o.cboAudioBitrate;
    job.audioArgs = buildAudioArgs(o, job);
}

} // namespace qorvid
