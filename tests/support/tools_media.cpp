#include "support/tools_media.h"

#include "util/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace qorvid::test {

std::string pluginPath(int number) { return buildDir() + "plugins/ZevraRes" + std::to_string(number) + ".exe"; }

std::vector<std::string> splitCommandLine(const std::string& commandLine)
{
    ArgumentVector split = qorvid::splitCommandLine(commandLine);
    split.args.insert(split.args.begin(), split.program);
    return split.args;
}

RunResult runCommandLine(const std::string& commandLine) { return runProgram(splitCommandLine(commandLine)); }

std::vector<double> numbersAfter(const std::string& text, const std::string& marker,
                                 const std::string& end)
{
    std::vector<double> out;
    size_t at = 0;
    while ((at = text.find(marker, at)) != std::string::npos) {
        at += marker.size();
        size_t stop = text.find(end, at);
        if (stop == std::string::npos) break;
        std::string value = text.substr(at, stop - at);
        char* rest = nullptr;
        double v = std::strtod(value.c_str(), &rest);
        if (rest != value.c_str() && std::string_view(rest).find_first_not_of(' ') == std::string_view::npos)
            out.push_back(v);
    }
    return out;
}

MediaFacts probeFacts(const std::string& file)
{
    RunResult r = runProgram({"ffprobe", "-v", "error", "-of", "default=nw=0", "-show_entries",
                              "stream=codec_type,codec_name,codec_tag_string,width,height,"
                              "r_frame_rate,sample_rate,channels,bit_rate:format=format_name,duration",
                              file});
    MediaFacts facts;
    std::map<std::string, std::string> current;
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);) {
        if (line == "[STREAM]" || line == "[FORMAT]") {
            current.clear();
        } else if (line == "[/STREAM]") {
            if (current["codec_type"] == "video" && facts.video.empty()) facts.video = current;
            if (current["codec_type"] == "audio" && facts.audio.empty()) facts.audio = current;
        } else if (line == "[/FORMAT]") {
            facts.format = current;
        } else if (size_t eq = line.find('='); eq != std::string::npos) {
            current[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    return facts;
}

std::string greyFrame(const std::string& file, double seconds, int w, int h)
{
    RunResult r = runProgram({"ffmpeg", "-v", "error", "-ss", std::to_string(seconds), "-i", file,
                              "-frames:v", "1", "-vf",
                              "scale=" + std::to_string(w) + ":" + std::to_string(h) + ":flags=area",
                              "-pix_fmt", "gray", "-f", "rawvideo", "-"});
    return r.exitCode == 0 ? r.output : std::string();
}

double meanVolume(const std::string& file)
{
    RunResult r = runProgram({"ffmpeg", "-hide_banner", "-i", file, "-map", "0:a:0", "-af",
                              "volumedetect", "-f", "null", "-"});
    auto v = numbersAfter(r.output, "mean_volume: ", " dB");
    return v.empty() ? -1000 : v.front();
}

double firstSoundStart(const std::string& file)
{
    RunResult r = runProgram({"ffmpeg", "-hide_banner", "-i", file, "-map", "0:a:0", "-af",
                              "silencedetect=n=-30dB:d=0.2", "-f", "null", "-"});
    auto v = numbersAfter(r.output, "silence_end: ", " |");
    return v.empty() ? -1 : v.front();
}

std::vector<std::string> videoPacketHashes(const std::string& file)
{
    RunResult r = runProgram({"ffmpeg", "-v", "error", "-i", file, "-map", "0:v:0", "-c", "copy",
                              "-f", "framemd5", "-"});
    std::vector<std::string> out;
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);) {
        // Comments and the decoders' complaints (merged from standard error) are no packets.
        if (line.empty() || line[0] == '#' || line[0] == '[') continue;
        // stream, dts, pts, duration, size, checksum[, side data]
        std::istringstream fields(line);
        std::string field;
        int count = 0;
        while (count < 6 && std::getline(fields, field, ',')) ++count;
        if (count < 6) continue;
        out.push_back(field.substr(field.find_first_not_of(' ')));
    }
    return out;
}

bool isRunOf(const std::vector<std::string>& part, const std::vector<std::string>& whole)
{
    if (part.empty()) return false;
    return std::search(whole.begin(), whole.end(), part.begin(), part.end()) != whole.end();
}

} // namespace qorvid::test
