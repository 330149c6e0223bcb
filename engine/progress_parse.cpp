#include "engine/progress_parse.h"

#include "app/lang_text.h"
#include "engine/format_time.h"
#include "util/text.h"

#include <cmath>

namespace qorvid {

ToolStyle toolStyleOf(std::string_view commandLine)
{
    return contains(commandLine, "ZevraRes3.exe") || contains(commandLine, "ZevraRes3.dll") ? ToolStyle::Converter
                                                                                           : ToolStyle::Encoder;
}

std::optional<ProgressReading> parseProgressChunk(std::string_view chunk, ToolStyle style, float length)
{
    const bool encoder = style == ToolStyle::Encoder;
    const std::string_view startMarker = encoder ? "Pos:" : "time=";
    const std::string_view endMarker = encoder ? "s " : "bitrate";
    const float threshold = encoder ? 1800.0f : 3600.0f;

    size_t markerPos = chunk.find(startMarker);
    size_t end = chunk.find(endMarker);
    if (markerPos == std::string_view::npos || end == std::string_view::npos) return std::nullopt;
    size_t start = markerPos + startMarker.size();
    if (end <= start) return std::nullopt;
    auto value = parseNumber(chunk.substr(start, end - start));
    if (!value) return std::nullopt;

    ProgressReading r;
    r.value = static_cast<float>(*value);
    // Without a length nothing can be measured: the bar stands just short of the end.
    r.oneDecimal = length > threshold || length == 0;
    float p = length == 0 ? 99.9f : r.value * 100.0f / length;
    if (length != 0) p = r.oneDecimal ? std::round(p * 10.0f) / 10.0f : std::floor(p);
    r.percent = p < 0 ? 0.0f : (p > 99.9f ? 99.9f : p);
    return r;
}

std::string progressCaption(const LangText& lang, const ProgressReading& r)
{
    std::string shown = r.oneDecimal ? formatFixed(r.percent, 1) : std::to_string(static_cast<long>(r.percent));
    return fillPlaceholders(lang[Msg::ProgressPercent], {shown}) + " -->  " + lang[Msg::GoTo] + " " + FormatTime(r.value, 1, 1) + lang[Msg::Seconds];
}

} // namespace qorvid
