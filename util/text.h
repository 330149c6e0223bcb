#pragma once
#include <optional>
#include <string>
#include <string_view>

// Small text helpers shared by the parsers.
namespace qorvid {

std::string trim(std::string_view s);   // blanks, tabs, CR and LF at both ends
std::string toLower(std::string_view s); // ASCII only; other bytes unchanged
std::string toUpper(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);
bool contains(std::string_view s, std::string_view part);
std::string replaceAll(std::string s, std::string_view from, std::string_view to);

// A whole decimal number with optional sign, blanks around it allowed ("12", " -1.5 ", ".5").
std::optional<double> parseNumber(std::string_view s);
bool isNumeric(std::string_view s);
// The number the text begins with ("600  (品質低)" reads 600); 0 when it does not begin with one.
double leadingNumber(std::string_view s);

// Decimal text of a number with a fixed count of decimals ("0.0" style); no exponent.
std::string formatFixed(double value, int decimals);
// Shortest plain decimal text (12.5, 30, 29.97): what converting a number to text gives.
std::string numberText(double value);

// Replaces every invalid UTF-8 sequence by U+FFFD so that tool output is always valid text.
std::string sanitizeUtf8(std::string_view bytes);
// CR LF and lone CR become LF, for showing on this platform.
std::string toUnixLines(std::string_view s);

// Path separator of the platform: the backslash of the original design.
inline constexpr char kSep = '/';

// For an empty path "". Otherwise, with driveFlag and a path not ending in ":", appends ":";
// then appends the separator unless the path already ends in one.
std::string ensureBackslash(const std::string& path, bool driveFlag = false);

} // namespace qorvid
