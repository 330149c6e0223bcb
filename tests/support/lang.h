#pragma once
#include "app/lang_text.h"

namespace qorvid::test {

// The table of the language code, freshly loaded.
inline LangText loadedLang(const char* code)
{
    LangText l;
    l.load(code);
    return l;
}

// The Traditional Chinese table, loaded once for the whole test program.
inline const LangText& tw()
{
    static const LangText lang = loadedLang("tw");
    return lang;
}

} // namespace qorvid::test
