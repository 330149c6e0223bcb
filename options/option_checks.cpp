#include "options/option_checks.h"

#include "app/lang_text.h"
#include "media/format_catalog.h"
#include "media/job_state.h"
#include "options/option_lists.h"
#include "util/file_object.h"
#include "util/text.h"

namespace qorvid {

namespace {

std::string normalised(const std::string& text) { return numberText(leadingNumber(text)); }

CheckFailure failure(const LangText& lang, Msg message, int page, OptionField field)
{
    return {message, lang[message], page, field};
}


} // namespace

bool fpsFromSource(const ConversionOptions& o) { return o.cboFpsListFromSource && o.cboFpsIndex == 0; }

void normaliseNumberBoxes(ConversionOptions& o)
{
    for (auto& t : o.txtExpand) t = normalised(t);
    for (std::string* t : {&o.txtAudioDelay, &o.txtSubSize, &o.txtSubPosHgt, &o.txtSubOutline, &o.txtSubBlur,
                           &o.txtSubDelay})
        *t = normalised(*t);
}

std::optional<CheckFailure> checkFrameRate(const ConversionOptions& o, const LangText& lang)
{
    if (o.pageMasked[kPageFrameRate] || fpsFromSource(o)) return std::nullopt;
    const std::vector<std::string> list = o.cboFpsList.empty() ? fillFpsList(lang, false) : o.cboFpsList;
    const double last = leadingNumber(list.back());
    const double v = leadingNumber(o.cboFps);
    if (v >= 5 && v <= last) return std::nullopt;
    // The lower bound shown is 5 for a chosen item, else the second item's value.
    std::string low = o.cboFpsIndex >= 1 || list.size() < 2 ? "5" : numberText(leadingNumber(list[1]));
    CheckFailure f = failure(lang, Msg::FrameRateRange, kPageFrameRate, OptionField::Fps);
    f.text = fillPlaceholders(f.text, {low, numberText(last)});
    return f;
}

std::optional<CheckFailure> checkVideoBitrate(const ConversionOptions& o, const LangText& lang)
{
    if (o.pageMasked[kPageVideo] || o.videoBitrateFromSource) return std::nullopt;
    const double v = leadingNumber(o.cboVideoBitrate);
    if (v >= 32 && v <= 9000) return std::nullopt;
    return failure(lang, Msg::VideoBitrateRange, kPageVideo, OptionField::VideoBitrate);
}

std::optional<CheckFailure> checkAudioBitrate(const ConversionOptions& o, const LangText& lang)
{
    if (o.pageMasked[kPageAudio] || o.audioBitrateFromSource) return std::nullopt;
    const double v = leadingNumber(o.cboAudioBitrate);
    if (v >= 32 && v <= 320) return std::nullopt;
    return failure(lang, Msg::AudioBitrateRange, kPageAudio, OptionField::AudioBitrate);
}

std::optional<CheckFailure> checkWidth(const ConversionOptions& o, const LangText& lang)
{
    if (o.pageMasked[kPageVideo]) return std::nullopt;
    const double v = leadingNumber(o.txtSize[0]);
    if (v >= 8 && v <= 1280) return std::nullopt;
    return failure(lang, Msg::WidthRange, kPageVideo, OptionField::Width);
}

std::optional<CheckFailure> checkHeight(const ConversionOptions& o, const LangText& lang)
{
    if (o.pageMasked[kPageVideo]) return std::nullopt;
    const double v = leadingNumber(o.txtSize[1]);
    if (v >= 8 && v <= 1280) return std::nullopt;
    return failure(lang, Msg::HeightRange, kPageVideo, OptionField::Height);
}

std::optional<CheckFailure> checkRotateBorders(const ConversionOptions& o, const LangText& lang)
{
    if (o.pageMasked[kPageVideo] || (o.cboRotate != 2 && o.cboRotate != 3)) return std::nullopt;
    const bool top = leadingNumber(o.txtExpand[0]) != 0;
    const bool bottom = leadingNumber(o.txtExpand[1]) != 0;
    if (!top && !bottom) return std::nullopt;
    return failure(lang, Msg::FlipWithVerticalBorders, kPageVideo, top ? OptionField::ExpandTop : OptionField::ExpandBottom);
}

bool subtitlesAllowed(const ConversionOptions& o, const JobState& job)
{
    const TargetKind k = job.targetKind;
    return reencodesPicture(k) && !o.pageMasked[kPageSubtitle];
}

std::optional<CheckFailure> checkSubtitleFile(const ConversionOptions& o, const JobState& job, const LangText& lang)
{
    if (o.optSub != 1 || !subtitlesAllowed(o, job)) return std::nullopt;
    const std::string file = trim(o.txtSubFile);
    if (file.empty()) return failure(lang, Msg::EnterSubtitleFile, kPageSubtitle, OptionField::SubFile);
    if (fileObject().FileExists(file)) return std::nullopt;
    CheckFailure f = failure(lang, Msg::SubtitleFileMissing, kPageSubtitle, OptionField::SubFile);
    f.text += "\r\n\r\n" + file;
    return f;
}

} // namespace qorvid
