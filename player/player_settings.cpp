#include "player/player_settings.h"

#include "util/file_object.h"
#include "util/text.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qorvid {
namespace {

std::optional<int> wholeNumber(std::string_view text)
{
    const std::optional<double> v = parseNumber(trim(text));
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 1e6) return std::nullopt;
    return static_cast<int>(std::nearbyint(*v));
}

// "left,top"; anything after the second number is ignored.
void readRect(const std::string& value, PlayerSettings& s)
{
    const size_t comma = value.find(',');
    if (comma == std::string::npos) return;
    const size_t end = value.find(',', comma + 1);
    const auto left = wholeNumber(std::string_view(value).substr(0, comma));
    const auto top = wholeNumber(std::string_view(value).substr(comma + 1, end == std::string::npos ? end : end - comma - 1));
    if (!left || !top) return;
    s.left = left;
    s.top = top;
}

std::optional<bool> flag(const std::string& value)
{
    const std::string v = toLower(value);
    if (v == "true") return true;
    if (v == "false") return false;
    return std::nullopt;
}

} // namespace

PlayerSettings readPlayerSettings(std::string_view text)
{
    PlayerSettings s;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        line = trim(line);
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = toLower(line.substr(0, eq + 1));
        const std::string value = trim(line.substr(eq + 1));
        if (key == "mainrect=") {
            readRect(value, s);
        } else if (key == "keepwh=") {
            if (auto f = flag(value)) s.keepWH = *f;
        } else if (key == "topmost=") {
            if (auto f = flag(value)) s.topMost = *f;
        } else if (key == "mcivol=") {
            if (auto v = wholeNumber(value)) s.volume = std::clamp(*v, 0, 1000);
        }
    }
    return s;
}

std::string playerSettingsText(const PlayerSettings& s)
{
    auto yes = [](bool b) { return b ? "True" : "False"; };
    std::ostringstream text;
    text << "MainRect=" << s.left.value_or(0) << "," << s.top.value_or(0) << "\r\n"
         << "KeepWH=" << yes(s.keepWH) << "\r\n"
         << "TopMost=" << yes(s.topMost) << "\r\n"
         << "MciVol=" << std::clamp(s.volume, 0, 1000) << "\r\n";
    return text.str();
}

PlayerSettings loadPlayerSettings(const std::string& path)
{
    if (!fileObject().FileExists(path)) return {};
    return readPlayerSettings(fileObject().GetFileText(path));
}

bool savePlayerSettings(const std::string& path, const PlayerSettings& s)
{
    std::error_code ec;
    const std::string folder = fileObject().GetParentFolderName(path);
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file << playerSettingsText(s);
    file.close();
    return !file.fail();
}

} // namespace qorvid
