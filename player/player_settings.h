#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qorvid {

// The player window's own settings file (Plimbo.ini).
struct PlayerSettings {
    // The window's left and top; none: the window is centred.
    std::optional<int> left, top;
    bool keepWH = false;  // keep the picture's aspect ratio
    bool topMost = false; // always on top
    int volume = -1;      // 0..1000; -1: none set yet
};

// Each line trimmed; the key is everything up to and including the first "=", in any case
// ("mainrect=", not "mainrect ="); bad values are skipped.
PlayerSettings readPlayerSettings(std::string_view text);
// The four lines in their order.
std::string playerSettingsText(const PlayerSettings& settings);

// The file beside the settings of the main window; a missing or unreadable file gives the defaults.
PlayerSettings loadPlayerSettings(const std::string& path);
bool savePlayerSettings(const std::string& path, const PlayerSettings& settings);

} // namespace qorvid
