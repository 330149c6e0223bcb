#pragma once
#include <string>
#include <string_view>

namespace qorvid {

// The language code for a locale name such as "zh_TW.UTF-8": Simplified Chinese locales
// (zh_CN, zh_SG) give "gb", Traditional Chinese (zh_TW, zh_HK, zh_MO) give "tw", others "en".
std::string languageForLocale(std::string_view locale);

// The locale that decides messages: the first set of LC_ALL, LC_MESSAGES and LANG.
std::string messageLocale();

// languageForLocale(messageLocale()).
std::string systemLanguage();

} // namespace qorvid
