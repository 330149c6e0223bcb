#pragma once
#include <string>
#include <string_view>

namespace qorvid {

// The main window's part of Qorvid.ini.
struct Settings {
    float mainLeft = 0;
    float mainTop = 0;
    std::string language;      // "tw", "gb" or "en"
    int targetDefDirMode = 0;  // 0: beside the source; 1: in targetDefDir
    std::string targetDefDir;  // with a trailing separator
};

// Screen and main-window sizes, in the same units as the saved position.
struct Geometry {
    float screenWidth = 0;
    float screenHeight = 0;
    float windowWidth = 0;
    float windowHeight = 0;
};

// What the file cannot supply.
struct SettingsFallbacks {
    std::string homeFolder;     // target folder at first and when the saved one has vanished
    std::string systemLanguage; // language when the file names none
};

struct LoadedSettings {
    Settings values;
    bool languageGiven = false; // a language line was applied
    bool fileFound = false;
};

// The home folder and the system's language.
SettingsFallbacks systemFallbacks();

// Reads the file: the window starts centred, keys are matched without regard to case, a
// position is pulled back onto the screen, a mode other than 1 is 0, a vanished folder
// becomes the home folder, and without a language line the system's language applies.
LoadedSettings loadSettings(const std::string& path, const Geometry& geometry,
                            const SettingsFallbacks& fallbacks = systemFallbacks());

// The same rules on the file's text (fileFound is true).
LoadedSettings readSettingsText(std::string_view text, const Geometry& geometry,
                                const SettingsFallbacks& fallbacks = systemFallbacks());

// Writes the five lines, replacing the file; false on any error (nothing is reported).
bool saveSettings(const std::string& path, const Settings& settings);

// Start-up: loadSettings, then the first file written when none exists.
LoadedSettings loadOrCreateSettings(const std::string& path, const Geometry& geometry,
                                    const SettingsFallbacks& fallbacks = systemFallbacks());

} // namespace qorvid
