#include "options/mark_times.h"

#include "app/lang_text.h"

#include <cmath>

namespace qorvid {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }
int value(char c) { return c - '0'; }

// The lines that follow message 108: the form and the range of each field.
std::string formatRefusal(const LangText& lang)
{
    return lang[Msg::TimeFormatWrong] + "\r\nhh:mm:ss.s\r\nhh = 00 ~ 99\r\nmm = 00 ~ 59\r\nss = 00 ~ 59\r\ns = 0 ~ 9";
}

TypedMarks refused(Msg message, std::string text, int box)
{
    TypedMarks t;
    t.message = message;
    t.text = std::move(text);
    t.resetBox = box;
    return t;
}

} // namespace

std::optional<int> parseTypedTime(std::string_view t)
{
    if (t.size() != 10 || t[2] != ':' || t[5] != ':' || t[8] != '.') return std::nullopt;
    for (size_t i : {0, 1, 3, 4, 6, 7, 9})
        if (!digit(t[i])) return std::nullopt;
    // The tens of minutes and seconds go up to 5 only.
    if (value(t[3]) > 5 || value(t[6]) > 5) return std::nullopt;
    int hours = value(t[0]) * 10 + value(t[1]);
    int minutes = value(t[3]) * 10 + value(t[4]);
    int seconds = value(t[6]) * 10 + value(t[7]);
    return ((hours * 60 + minutes) * 60 + seconds) * 10 + value(t[9]);
}

TypedMarks checkTypedMarks(std::string_view startText, std::string_view endText, float srcLength,
                           const LangText& lang)
{
    auto start = parseTypedTime(startText);
    if (!start) return refused(Msg::TimeFormatWrong, formatRefusal(lang), 0);
    auto end = parseTypedTime(endText);
    if (!end) return refused(Msg::TimeFormatWrong, formatRefusal(lang), 1);

    TypedMarks t;
    // The whole length typed out is no range at all. The length is kept in tenths already.
    if (*start == 0 && *end == static_cast<int>(std::lround(srcLength * 10.0))) return t;
    if (*end <= *start) return refused(Msg::MarkEndBeforeStart, lang[Msg::MarkEndBeforeStart], 1);
    t.marks = {static_cast<float>(*start) / 10.0f, static_cast<float>(*end) / 10.0f};
    return t;
}

} // namespace qorvid
