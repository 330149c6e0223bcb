#include "converter/converter_arguments.h"

#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace qorvid::tools {
namespace {

bool isAudioCodecOption(const std::string& a)
{
    return a == "-acodec" || a == "-c:a" || a == "-codec:a";
}

bool isAudioFilterOption(const std::string& a)
{
    return a == "-af" || a == "-filter:a";
}

std::string volumeFilter(const std::string& value)
{
    char* end = nullptr;
    double n = std::strtod(value.c_str(), &end);
    if (end == value.c_str()) n = 256;
    char text[32];
    std::snprintf(text, sizeof text, "volume=%.6g", n / 256.0);
    return text;
}

} // namespace

std::vector<std::string> converterArguments(const std::vector<std::string>& args)
{
    std::vector<std::string> out;
    std::string volume;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (isAudioCodecOption(a) && hasValue) {
            const std::string& codec = args[++i];
            out.push_back(a);
            out.push_back(codec == "libfaac" ? "aac" : codec == "vorbis" ? "libvorbis" : codec);
            continue;
        }
        if (a == "-vol" && hasValue) {
            volume = volumeFilter(args[++i]);
            out.push_back("-af");
            out.push_back(volume);
            continue;
        }
        out.push_back(a);
    }
    if (volume.empty()) return out;

    // With a filter chain of its own the volume joins it instead of replacing it.
    size_t volumeAt = out.size(), chainAt = out.size();
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        if (!isAudioFilterOption(out[i])) continue;
        if (out[i + 1] == volume && volumeAt == out.size()) volumeAt = i;
        else chainAt = i;
    }
    if (chainAt != out.size() && volumeAt != out.size()) {
        out[chainAt + 1] += "," + volume;
        out.erase(out.begin() + static_cast<long>(volumeAt), out.begin() + static_cast<long>(volumeAt) + 2);
    }
    return out;
}

std::string converterTarget(const std::vector<std::string>& args)
{
    if (args.size() < 2) return {};
    const std::string& last = args.back();
    const std::string& before = args[args.size() - 2];
    if (last.empty() || last[0] == '-' || last.rfind("pipe:", 0) == 0) return {};
    if (before == "-i") return {};
    // An option that takes a value would have swallowed the name; FFmpeg's value-less
    // options that the system writes before the target are listed here.
    static const char* const flags[] = {"-y", "-n", "-vn", "-an", "-sn", "-dn", "-shortest"};
    if (before[0] == '-') {
        for (const char* f : flags)
            if (before == f) return last;
        return {};
    }
    return last;
}

std::vector<std::string> writingInto(std::vector<std::string> args, const std::string& target,
                                     const std::string& file)
{
    if (args.empty()) return args;
    bool formatGiven = false;
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "-f") formatGiven = true;
    args.back() = file;
    if (formatGiven) return args;
    // The muxers of the extensions the sound targets use; others by FFmpeg's own name for them.
    static const std::pair<const char*, const char*> muxers[] = {
        {"mp3", "mp3"}, {"wav", "wav"}, {"wma", "asf"}, {"wmv", "asf"}, {"asf", "asf"}, {"ogg", "ogg"},
        {"ac3", "ac3"}, {"aac", "adts"}, {"m4a", "ipod"}, {"mp4", "mp4"}, {"mp2", "mp2"}, {"flac", "flac"},
        {"mka", "matroska"}, {"mkv", "matroska"}, {"avi", "avi"}, {"mpg", "mpeg"}, {"vob", "vob"}};
    size_t dot = target.find_last_of('.');
    size_t slash = target.find_last_of('/');
    std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? ""
                                                                                             : target.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string muxer = ext;
    for (const auto& [e, m] : muxers)
        if (ext == e) muxer = m;
    if (muxer.empty()) return args;
    args.insert(args.end() - 1, {"-f", muxer});
    return args;
}

std::string converterInput(const std::vector<std::string>& args)
{
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "-i") return args[i + 1];
    return {};
}

} // namespace qorvid::tools
