#include "app/system_language.h"

#include "util/text.h"

#include <cstdlib>

namespace qorvid {

std::string languageForLocale(std::string_view locale)
{
    // "zh_TW.Big5@euro" -> "zh_tw"; a hyphen is accepted for the separator too.
    std::string name = toLower(locale.substr(0, locale.find_first_of(".@")));
    for (char& c : name)
        if (c == '-') c = '_';
    if (name == "zh_cn" || name == "zh_sg") return "gb";
    if (name == "zh_tw" || name == "zh_hk" || name == "zh_mo") return "tw";
    return "en";
}

std::string messageLocale()
{
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(var);
        if (value && *value) return value;
    }
    return {};
}

std::string systemLanguage() { return languageForLocale(messageLocale()); }

} // namespace qorvid
