#pragma once
#include <string>
#include <string_view>

namespace qorvid {

inline constexpr std::string_view kProductName = "Qorvid";
inline constexpr std::string_view kVersion = "1.8.2";

// The filter of the source dialog: description and patterns, entries joined by "|".
const std::string& generalMediaFilter();

} // namespace qorvid
