#include "player/player_status.h"

#include "media/probe.h"
#include "util/text.h"

#include <algorithm>

namespace qorvid {
namespace {

std::optional<float> nonNegative(std::string_view t, float timeShift)
{
    const std::optional<double> v = parseNumber(trim(t));
    if (!v || *v < 0) return std::nullopt;
    return static_cast<float>(*v) - timeShift;
}

// Picture only: the last "V:", up to one digit after its point.
std::optional<float> videoTime(std::string_view text, float timeShift)
{
    const size_t found = text.rfind("V:");
    if (found == std::string_view::npos) return std::nullopt;
    const size_t v = found + 2;
    const size_t d = text.find('.', v);
    if (d == std::string_view::npos || d + 1 >= text.size()) return std::nullopt;
    return nonNegative(text.substr(v, d + 2 - v), timeShift);
}

} // namespace

std::optional<float> statusPosition(std::string_view text, float timeShift)
{
    const size_t a = text.find("A:");
    if (a == std::string_view::npos) return videoTime(text, timeShift);
    const size_t from = a + 2;
    const size_t v = text.find(" V:", from);
    if (v != std::string_view::npos) return nonNegative(text.substr(from, v - from), timeShift);
    // Sound only: "A:  65.2 (01:05.2) of 200.0 (03:20.0)".
    const size_t open = text.find('(', from);
    if (open == std::string_view::npos) return std::nullopt;
    return nonNegative(text.substr(from, open - from), timeShift);
}

std::optional<int> indexProgress(std::string_view text)
{
    int start = 1;
    const std::string value = findValue(text, "Generating Index:", "%", true, start);
    if (start == 1 && value.empty()) return std::nullopt;
    const std::string first3 = trim(value).substr(0, 3);
    const int n = static_cast<int>(leadingNumber(first3));
    return std::clamp(n, 1, 99);
}

std::string savedPicture(std::string_view text)
{
    constexpr std::string_view open = "*** screenshot '";
    const size_t at = text.rfind(open);
    if (at == std::string_view::npos) return {};
    const size_t from = at + open.size();
    const size_t close = text.find("' ***", from);
    if (close == std::string_view::npos) return {};
    return std::string(text.substr(from, close - from));
}

bool videoFailed(std::string_view text)
{
    return contains(text, "FATAL: Cannot initialize video") || contains(text, "FATAL: Could not initialize video");
}

bool playerExited(std::string_view text)
{
    return contains(text, "Exiting... (End of file)") || contains(text, "Exiting... (Quit)");
}

} // namespace qorvid
