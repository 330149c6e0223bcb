// findValue and its neighbours on tool output: text, key, end mark.
#include "fuzz_input.h"
#include "media/probe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto f = fuzzFields(data, size, 4);
    f.resize(4);
    const std::string& text = f[0];
    for (bool caseSensitive : {false, true}) {
        int start = 1;
        // Walk through every occurrence, as the probe does; start must always advance.
        for (int guard = 0; guard < 10000; ++guard) {
            const int before = start;
            std::string v = qorvid::findValue(text, f[1], f[2], caseSensitive, start, guard % 2 == 1);
            if (v.empty() && start == before) break;
            if (start <= before) __builtin_trap();
        }
        int odd = f[3].empty() ? 0 : static_cast<signed char>(f[3][0]) * 1000;
        qorvid::findValue(text, f[1], f[2], caseSensitive, odd);
    }
    qorvid::findValue(text, f[1]);
    qorvid::findValueBefore(text, f[2], f[1]);
    qorvid::timeToSeconds(text, 0);
    qorvid::timeToSeconds(f[1], 1.5f);
    return 0;
}
