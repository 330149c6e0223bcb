// The settings reader (Qorvid.ini).
#include "app/settings.h"
#include "fuzz_input.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const qorvid::Geometry g{1920, 1080, 640, 480};
    const qorvid::SettingsFallbacks fallbacks{"/nonexistent-home/", "en"};
    qorvid::LoadedSettings s = qorvid::readSettingsText(fuzzText(data, size), g, fallbacks);
    // Whatever the file says, the window lands on the screen.
    const auto& v = s.values;
    if (!(v.mainLeft >= 0 && v.mainLeft <= 1280 && v.mainTop >= 0 && v.mainTop <= 600)) __builtin_trap();
    return 0;
}
