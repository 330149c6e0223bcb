#include "encoder/ffmpeg_log.h"

#include <cstdio>

namespace qorvid::tools {
namespace {

TaggedLine::Level levelNamed(const std::string& name)
{
    using L = TaggedLine::Level;
    if (name == "panic" || name == "fatal" || name == "error") return L::Error;
    if (name == "warning") return L::Warning;
    if (name == "info") return L::Info;
    if (name == "verbose" || name == "debug" || name == "trace") return L::Detail;
    return L::None;
}

} // namespace

TaggedLine untagLine(const std::string& line)
{
    // "[mpeg4 @ 0x55d0] [error] text": context prefixes first, then the level.
    TaggedLine tagged;
    size_t pos = 0;
    while (pos < line.size() && line[pos] == '[') {
        size_t close = line.find(']', pos);
        if (close == std::string::npos) break;
        TaggedLine::Level level = levelNamed(line.substr(pos + 1, close - pos - 1));
        if (level != TaggedLine::Level::None) {
            size_t after = close + 1 < line.size() && line[close + 1] == ' ' ? close + 2 : close + 1;
            tagged.level = level;
            tagged.text = line.substr(0, pos) + line.substr(after);
            return tagged;
        }
        pos = close + 1;
        while (pos < line.size() && line[pos] == ' ') ++pos;
    }
    tagged.text = line;
    return tagged;
}

std::optional<double> parseDurationLine(const std::string& text)
{
    size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos || text.compare(at, 10, "Duration: ") != 0) return std::nullopt;
    unsigned hours = 0, minutes = 0, seconds = 0, hundredths = 0;
    char end = 0;
    // FFmpeg writes whole hundredths; "N/A" fails the match.
    if (std::sscanf(text.c_str() + at + 10, "%u:%2u:%2u.%2u%c", &hours, &minutes, &seconds, &hundredths, &end) != 5 ||
        end != ',' || minutes > 59 || seconds > 59)
        return std::nullopt;
    return hours * 3600.0 + minutes * 60.0 + seconds + hundredths / 100.0;
}

std::string FfmpegLog::take(const std::string& line)
{
    TaggedLine tagged = untagLine(line);
    const std::string text(lineText(tagged.text));
    if (tagged.level != TaggedLine::Level::None) showing_ = tagged.level == TaggedLine::Level::Error;
    if (tagged.level == TaggedLine::Level::Info) {
        // The description of the source: "Input #0, mpeg, from 'a.mpg':" and its indented lines.
        if (text.rfind("Input #0,", 0) == 0) {
            sourceOpened_ = inInput_ = true;
        } else if (text.empty() || text[0] != ' ') {
            inInput_ = false;
        } else if (inInput_ && !duration_) {
            duration_ = parseDurationLine(text);
        }
    }
    return showing_ ? tagged.text : std::string();
}

std::string FfmpegLog::feed(const std::string& chunk)
{
    lines_.feed(chunk);
    std::string shown;
    for (const auto& line : lines_.takeLines()) shown += take(line);
    return shown;
}

std::string FfmpegLog::finish()
{
    std::string rest = lines_.takeRest();
    return rest.empty() ? std::string() : take(rest);
}

std::string lastLines(const std::string& text, size_t count)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        if (end > begin) lines.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    std::string out;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        out += (out.empty() ? "" : " / ") + lines[i];
    return out;
}

} // namespace qorvid::tools
