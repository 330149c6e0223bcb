#pragma once
#include "app/lang_text.h"

namespace qorvid::test {

// The Traditional Chinese table, loaded once for the whole test program.
inline const LangText& tw()
{
    static const LangText lang = [] {
        LangText l;
        l.load("tw");
        return l;
    }();
    return lang;
}

} // namespace qorvid::test
