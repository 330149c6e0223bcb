#include "encoder/progress.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace qorvid::tools {

bool ProgressReport::line(const std::string& text)
{
    size_t eq = text.find('=');
    if (eq == std::string::npos) return false;
    std::string key = text.substr(0, eq);
    std::string value = text.substr(eq + 1);
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r' || value.back() == ' '))
        value.pop_back();
    char* end = nullptr;
    if (key == "out_time_us") {
        long long us = std::strtoll(value.c_str(), &end, 10);
        if (end != value.c_str() && us >= 0) seconds_ = static_cast<double>(us) / 1e6;
    } else if (key == "frame") {
        long f = std::strtol(value.c_str(), &end, 10);
        if (end != value.c_str() && f >= 0) frames_ = f;
    } else if (key == "total_size") {
        long long b = std::strtoll(value.c_str(), &end, 10);
        if (end != value.c_str() && b >= 0) bytes_ = b;
    } else if (key == "progress") {
        if (value == "end") ended_ = true;
        return true;
    }
    return false;
}

namespace {
// Estimates from a first report can be absurd (a share of a millionth); the line stays readable.
int clampedInt(double v)
{
    return v > 0 ? static_cast<int>(std::min(v, 999999999.0)) : 0;
}
} // namespace

std::string positionLine(const PositionFigures& f)
{
    double share = f.expectedSeconds > 0 ? f.seconds / f.expectedSeconds : 0;
    share = std::clamp(share, 0.0, 1.0);
    int percent = clampedInt(share * 100);
    double fps = f.elapsedSeconds > 0 ? f.frames / f.elapsedSeconds : 0;
    int remainingMin = share > 0 ? clampedInt(f.elapsedSeconds * (1 - share) / share / 60) : 0;
    int estimatedMb = share > 0 ? clampedInt(f.bytes / share / 1048576.0) : 0;
    int kbits = f.seconds > 0 ? clampedInt(static_cast<double>(f.bytes) * 8 / f.seconds / 1000) : 0;
    char text[160];
    std::snprintf(text, sizeof text,
                  "Pos:%6.1fs %6ldf (%2d%%) %6.2ffps Trem:%4dmin %4dmb  A-V:0.000 [%d:0]\r",
                  f.seconds, f.frames, percent, fps, remainingMin, estimatedMb, kbits);
    return text;
}

} // namespace qorvid::tools
