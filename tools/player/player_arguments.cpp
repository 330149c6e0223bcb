#include "player/player_arguments.h"

#include "common/argument_values.h"
#include "common/subtitle_text.h"

#include <algorithm>
#include <cstdio>
#include <cmath>

namespace qorvid::tools {

std::vector<std::string> playerArguments(const std::vector<std::string>& args, bool hasDisplay)
{
    std::vector<std::string> out;
    auto has = [&](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (has("-identify") && !has("-ac")) {
        out.push_back("-ac");
        out.push_back("ffmp3,");
    }
    bool zoomAdded = has("-zoom");
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "-priority" && hasValue) {
            ++i;
            continue;
        }
        if (a == "-vo" && hasValue && args[i + 1].rfind("directx", 0) == 0) {
            out.push_back("-vo");
            out.push_back(hasDisplay ? "xv,x11," : "null");
            if (!zoomAdded) out.push_back("-zoom");
            zoomAdded = true;
            ++i;
            continue;
        }
        out.push_back(a);
    }
    return out;
}

void readSubtitlesAsUtf8(std::vector<std::string>& args, Utf8Subtitle& copy)
{
    std::string codepage;
    for (size_t i = 0; i + 1 < args.size();) {
        if (args[i] != "-subcp") {
            ++i;
            continue;
        }
        codepage = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    }
    auto sub = std::find(args.begin(), args.end(), "-sub");
    if (sub == args.end() || sub + 1 == args.end()) return;
    if (!copy.open(*(sub + 1), codepage).empty()) return; // the player says why it cannot read it
    *(sub + 1) = copy.path();
    args.push_back("-utf8");
}

namespace {

std::string oneDecimal(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

} // namespace

void drawSubtitlesWithLibass(std::vector<std::string>& args)
{
    if (std::find(args.begin(), args.end(), "-sub") == args.end()) return;
    const double outline = std::clamp(numberAfter(args, "-subfont-outline", 2), 0.0, 8.0);
    const double blur = std::clamp(numberAfter(args, "-subfont-blur", 2), 0.0, 8.0);
    const double fromTop = std::clamp(numberAfter(args, "-subpos", 100), 0.0, 100.0);
    // The blur radius falls to 1/256 where libass's Blur of the same sigma is R/(2*sqrt 2).
    const std::string style = "Outline=" + oneDecimal(outline) + ",Blur=" + oneDecimal(blur * 0.35355339) +
                              ",Shadow=0,BorderStyle=1,Alignment=2,MarginV=" +
                              std::to_string(static_cast<int>(std::lround((100 - fromTop) / 100 * 288)));
    for (const char* a : {"-ass", "-ass-color", "FFFFFF00", "-ass-border-color", "00000000", "-ass-force-style"})
        args.push_back(a);
    args.push_back(style);
}

} // namespace qorvid::tools
