#include "options/option_lists.h"

#include "app/lang_text.h"
#include "util/text.h"

#include <cmath>

namespace qorvid {

namespace {
// The text the fixed "original ratio" size items carry in every language.
constexpr std::string_view kOriginalRatio = " x 原比例";

// Whole pixels of width × ratio; the small margin keeps products such as 320 × 0.6
// from landing just below the whole number.
int heightFor(int width, double ratio)
{
    int h = static_cast<int>(std::floor(width * ratio + 1e-9));
    return h % 2 != 0 ? h + 1 : h;
}
} // namespace

std::vector<std::string> fillFpsList(const LangText& lang, bool shortForm)
{
    const std::string normal = lang[120];
    if (shortForm)
        return {"23.976" + normal, "24" + normal, "25" + normal, "29.97" + normal, "30" + normal};
    return {lang[55], "5", "8", "10", "12", "12.5", "14.985", "15",
            "20" + normal, "23.976" + normal, "24" + normal, "25" + normal, "29.97" + normal, "30" + normal};
}

FpsListUpToSource fillFpsListUpToSource(const LangText& lang, float srcFps)
{
    struct Rate { float value; const char* text; bool normal; };
    static constexpr Rate kRates[] = {{5, "5", false},   {8, "8", false},   {10, "10", false},
                                      {12, "12", false}, {15, "15", false}, {20, "20", true},
                                      {24, "24", true},  {25, "25", true},  {29.97f, "29.97", true}};
    FpsListUpToSource list;
    list.items.push_back(lang[55]);
    float last = 0;
    // Compared as 32-bit values, the precision the source's rate is kept in.
    for (const Rate& r : kRates) {
        if (r.value > srcFps) break;
        list.items.push_back(std::string(r.text) + (r.normal ? lang[120] : ""));
        last = r.value;
    }
    if (last < srcFps) list.items.push_back(numberText(srcFps));
    if (srcFps < 20) list.selected = static_cast<int>(list.items.size()) - 1;
    return list;
}

std::vector<std::string> fillVideoBitrateList(const LangText& lang, bool shortForm)
{
    std::vector<std::string> items{"48", "96", "160", "200", "250", "360", "600" + lang[121], "800",
                                   "1152" + lang[122], "1475", "1775" + lang[123], "2400", "4800"};
    if (shortForm) items.erase(items.begin(), items.begin() + 8);
    return items;
}

std::vector<std::string> audioBitrateList(const LangText& lang)
{
    return {"32",  "48",  "56",  "64" + lang[121],  "80",  "112", "128" + lang[122],
            "160", "192", "224" + lang[123], "256", "320"};
}

std::vector<std::string> audioSampleList() { return {"11025", "16000", "22050", "24000", "32000", "44100", "48000"}; }

std::vector<std::string> fillSizeList(const LangText& lang)
{
    std::vector<std::string> items{lang[55], lang[211], lang[270] + lang[269], lang[270] + "4:3",
                                   lang[270] + "1.66:1", lang[270] + "16:9"};
    for (const char* size : {"128 x 96", "176 x 144", "208 x 176", "220 x 176", "240 x 160", "240 x 180",
                             "320 x 136", "320 x 180", "320 x 240", "320 x 原比例", "352 x 240", "352 x 288",
                             "368 x 208", "480 x 272", "480 x 320", "480 x 360", "480 x 原比例", "512 x 384",
                             "640 x 360", "640 x 480", "640 x 原比例", "720 x 416", "720 x 480", "720 x 576",
                             "720 x 原比例"})
        items.emplace_back(size);
    return items;
}

std::vector<std::string> rotateList(const LangText& lang)
{
    std::vector<std::string> items;
    for (int m = 138; m <= 145; ++m) items.push_back(lang[m]);
    return items;
}

std::vector<std::string> subtitleCodePageList(const LangText& lang)
{
    return {lang[212], lang[213], lang[214], lang[215], lang[216]};
}

int findListValue(const std::vector<std::string>& items, double value)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (leadingNumber(items[i]) == value) return static_cast<int>(i);
    return -1;
}

std::string codePageToken(const std::string& item)
{
    auto p = item.find("- cp");
    if (p != std::string::npos) return item.substr(p + 2);
    return item == "unicode" ? item : std::string();
}

SizeSetting SetSizeSetting(int index, const std::string& text, const std::string& width,
                           const std::string& height, int srcWidth, int srcHeight, const LangText& lang)
{
    SizeSetting s{width, height};
    const std::string& custom = lang[270];
    const bool isCustom = !custom.empty() && contains(text, custom);
    const auto by = text.find(" x ");

    if (index == 0) {
        s.width = std::to_string(srcWidth);
        s.height = std::to_string(srcHeight);
    } else if (contains(text, kOriginalRatio)) {
        int w = static_cast<int>(isCustom ? leadingNumber(width) : leadingNumber(text.substr(0, by)));
        if (w == 0) w = srcWidth;
        double ratio = srcWidth != 0 && srcHeight != 0 ? static_cast<double>(srcHeight) / srcWidth : 1.0;
        s.width = std::to_string(w);
        s.height = std::to_string(heightFor(w, ratio));
    } else if (isCustom) {
        double ratio = contains(text, "1.66:1") ? 0.6 : contains(text, "16:9") ? 9.0 / 16 : 3.0 / 4;
        int w = static_cast<int>(leadingNumber(width));
        if (w == 0) w = srcWidth;
        s.width = std::to_string(w);
        s.height = std::to_string(heightFor(w, ratio));
    } else if (by != std::string::npos && index > 1) {
        s.width = numberText(leadingNumber(text.substr(0, by)));
        s.height = numberText(leadingNumber(text.substr(by + 3)));
    }
    const std::string customWord = replaceAll(custom, " x ", "");
    s.widthEnabled = !customWord.empty() && contains(text, customWord);
    s.heightEnabled = index == 1;
    return s;
}

} // namespace qorvid
