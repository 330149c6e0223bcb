// The message-table loader on a table's raw text.
#include "app/lang_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qorvid::LangText lang;
    lang.loadFromText(fuzzText(data, size));
    size_t total = 0;
    for (int key = -2; key <= qorvid::LangText::kSize + 1; ++key) total += lang.byNumber(key).size();
    if (total > size * 2 + 16) __builtin_trap(); // "\n" to CR LF at most doubles a text
    qorvid::fillPlaceholders(lang.byNumber(1), {"x", "yy", "aaa"});
    return 0;
}
