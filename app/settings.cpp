#include "app/settings.h"

#include "app/paths.h"
#include "app/system_language.h"
#include "util/file_object.h"
#include "util/text.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qorvid {
namespace {

// A saved edge rounded and pulled back so that the window lies on the screen.
float placeEdge(const std::string& value, float windowSize, float screenSize)
{
    double v = std::nearbyint(leadingNumber(value));
    if (v + windowSize > screenSize) v = screenSize - windowSize;
    if (v < 0) v = 0;
    return static_cast<float>(v);
}

std::string floatText(float value)
{
    char buf[32];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

} // namespace

SettingsFallbacks systemFallbacks() { return {homeFolder(), systemLanguage()}; }

LoadedSettings readSettingsText(std::string_view text, const Geometry& g, const SettingsFallbacks& fallbacks)
{
    LoadedSettings loaded;
    loaded.fileFound = true;
    Settings& s = loaded.values;
    s.mainLeft = (g.screenWidth - g.windowWidth) / 2;
    s.mainTop = (g.screenHeight - g.windowHeight) / 2;
    s.targetDefDir = fallbacks.homeFolder;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        line = trim(line);
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = toLower(trim(line.substr(0, eq)));
        const std::string value = trim(line.substr(eq + 1));
        if (key == "mainleft") {
            s.mainLeft = placeEdge(value, g.windowWidth, g.screenWidth);
        } else if (key == "maintop") {
            s.mainTop = placeEdge(value, g.windowHeight, g.screenHeight);
        } else if (key == "language") {
            s.language = value;
            loaded.languageGiven = true;
        } else if (key == "targetdefdirmode") {
            s.targetDefDirMode = leadingNumber(value) == 1 ? 1 : 0;
        } else if (key == "targetdefdir") {
            std::string folder = ensureBackslash(value);
            s.targetDefDir = fileObject().FolderExists(folder) ? folder : fallbacks.homeFolder;
        }
    }
    if (!loaded.languageGiven) s.language = fallbacks.systemLanguage;
    return loaded;
}

LoadedSettings loadSettings(const std::string& path, const Geometry& g, const SettingsFallbacks& fallbacks)
{
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open() || fileObject().FolderExists(path)) {
        LoadedSettings loaded = readSettingsText({}, g, fallbacks);
        loaded.fileFound = false;
        return loaded;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return readSettingsText(text.str(), g, fallbacks);
}

bool saveSettings(const std::string& path, const Settings& s)
{
    // The per-user folder may not exist yet on a first run.
    std::error_code ec;
    const std::string folder = fileObject().GetParentFolderName(path);
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);

    std::ostringstream text;
    text << "MainLeft=" << floatText(s.mainLeft) << "\r\n"
         << "MainTop=" << floatText(s.mainTop) << "\r\n"
         << "Language=" << s.language << "\r\n"
         << "TargetDefDirMode=" << (s.targetDefDirMode == 1 ? 1 : 0) << "\r\n"
         << "TargetDefDir=" << s.targetDefDir << "\r\n";
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file << text.str();
    file.close();
    return !file.fail();
}

LoadedSettings loadOrCreateSettings(const std::string& path, const Geometry& geometry,
                                    const SettingsFallbacks& fallbacks)
{
    LoadedSettings loaded = loadSettings(path, geometry, fallbacks);
    if (!fileObject().FileExists(path)) saveSettings(path, loaded.values);
    return loaded;
}

} // namespace qorvid
