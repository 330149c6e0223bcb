#pragma once
#include <string>

namespace qorvid {

// Time text of a number of seconds: "hh:mm:ss.s" and its shorter forms.
// fields 1..3 choose how many fields are written at least (4: minutes may exceed 59,
// no hours; 0: whole seconds only); decimals the digits after the point.
// usedFields, when given, receives the number of fields written.
std::string FormatTime(float seconds, int fields, int decimals, int* usedFields = nullptr);

} // namespace qorvid
