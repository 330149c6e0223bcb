// The player window's settings reader (Plimbo.ini), and writing back what it read.
#include "fuzz_input.h"
#include "player/player_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qorvid::PlayerSettings s = qorvid::readPlayerSettings(fuzzText(data, size));
    if (s.volume < -1 || s.volume > 1000) __builtin_trap();
    // A file with every value set is written and read again unchanged (unset ones are written
    // as their defaults).
    if (!s.left || !s.top || s.volume < 0) return 0;
    const qorvid::PlayerSettings again = qorvid::readPlayerSettings(qorvid::playerSettingsText(s));
    if (again.left != s.left || again.top != s.top || again.keepWH != s.keepWH || again.topMost != s.topMost ||
        again.volume != s.volume)
        __builtin_trap();
    return 0;
}
