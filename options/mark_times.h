#pragma once
#include "app/messages.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qorvid {

class LangText;

// A time typed into a mark box, in tenths of a second: "hh:mm:ss.s" with hours 00-99,
// minutes and seconds 00-59 and one decimal; nullopt for anything else.
std::optional<int> parseTypedTime(std::string_view text);

// The outcome of the two mark boxes as typed.
struct TypedMarks {
    Msg message = Msg::None; // None accepted; else why the boxes were refused
    std::string text;  // the message to show, with the form it asks for
    int resetBox = -1; // on refusal the box that goes back to its mark (0 start, 1 end)
    // When accepted: the marks to keep, in seconds; none at all for the whole length.
    std::array<std::optional<float>, 2> marks{};
};

// Checks both boxes together, as leaving either box does; srcLength in seconds.
TypedMarks checkTypedMarks(std::string_view startText, std::string_view endText, float srcLength,
                           const LangText& lang);

} // namespace qorvid
