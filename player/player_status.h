#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qorvid {

// The play position in a stretch of the player's output (possibly several status lines):
// "A:" when the file has sound, else the last "V:", minus the file's time shift. None when the
// text holds no usable time (a negative or non-numeric one included).
std::optional<float> statusPosition(std::string_view text, float timeShift = 0);

// The percentage of "Generating Index: NN %", kept within 1..99; none without such a line.
std::optional<int> indexProgress(std::string_view text);

// The file name of the last "*** screenshot 'NAME' ***"; empty when none was saved.
std::string savedPicture(std::string_view text);

// The player could not show the picture ("FATAL: Cannot/Could not initialize video").
bool videoFailed(std::string_view text);
// The player has ended by itself or on "quit".
bool playerExited(std::string_view text);

} // namespace qorvid
