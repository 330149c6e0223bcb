#include "options/option_lists.h"

#include "app/lang_text.h"
#include "util/text.h"

#include <cmath>

namespace qorvid {

namespace {
// The fixed items after the six leading ones; height 0: the source's ratio.
struct FixedSize {
    int width, height;
};
constexpr FixedSize kFixedSizes[] = {
    {128, 96},  {176, 144}, {208, 176}, {220, 176}, {240, 160}, {240, 180}, {320, 136}, {320, 180}, {320, 240},
    {320, 0},   {352, 240}, {352, 288}, {368, 208}, {480, 272}, {480, 320}, {480, 360}, {480, 0},   {512, 384},
    {640, 360}, {640, 480}, {640, 0},   {720, 416}, {720, 480}, {720, 576}, {720, 0}};
constexpr int kFirstFixed = 6;
// Items 2 to 5: a typed width with the source's ratio, 4:3, 1.66:1 or 16:9.
constexpr double kCustomRatio[] = {0, 3.0 / 4, 0.6, 9.0 / 16};

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
    const std::string normal = lang[Msg::QualityNormal];
    if (shortForm)
        return {"23.976" + normal, "24" + normal, "25" + normal, "29.97" + normal, "30" + normal};
    return {lang[Msg::SameAsSourceMedia], "5", "8", "10", "12", "12.5", "14.985", "15",
            "20" + normal, "23.976" + normal, "24" + normal, "25" + normal, "29.97" + normal, "30" + normal};
}

FpsListUpToSource fillFpsListUpToSource(const LangText& lang, float srcFps)
{
    struct Rate { float value; const char* text; bool normal; };
    static constexpr Rate kRates[] = {{5, "5", false},   {8, "8", false},   {10, "10", false},
                                      {12, "12", false}, {15, "15", false}, {20, "20", true},
                                      {24, "24", true},  {25, "25", true},  {29.97f, "29.97", true}};
    FpsListUpToSource list;
    list.items.push_back(lang[Msg::SameAsSourceMedia]);
    float last = 0;
    // Compared as 32-bit values, the precision the source's rate is kept in.
    for (const Rate& r : kRates) {
        if (r.value > srcFps) break;
        list.items.push_back(std::string(r.text) + (r.normal ? lang[Msg::QualityNormal] : ""));
        last = r.value;
    }
    if (last < srcFps) list.items.push_back(numberText(srcFps));
    if (srcFps < 20) list.selected = static_cast<int>(list.items.size()) - 1;
    return list;
}

std::vector<std::string> fillVideoBitrateList(const LangText& lang, bool shortForm)
{
    std::vector<std::string> items{"48", "96", "160", "200", "250", "360", "600" + lang[Msg::QualityLow], "800",
                                   "1152" + lang[Msg::QualityMedium], "1475", "1775" + lang[Msg::QualityHigh], "2400", "4800"};
    if (shortForm) items.erase(items.begin(), items.begin() + 8);
    return items;
}

std::vector<std::string> audioBitrateList(const LangText& lang)
{
    return {"32",  "48",  "56",  "64" + lang[Msg::QualityLow],  "80",  "112", "128" + lang[Msg::QualityMedium],
            "160", "192", "224" + lang[Msg::QualityHigh], "256", "320"};
}

std::vector<std::string> audioSampleList() { return {"11025", "16000", "22050", "24000", "32000", "44100", "48000"}; }

std::vector<std::string> fillSizeList(const LangText& lang)
{
    std::vector<std::string> items{lang[Msg::SameAsSourceMedia], lang[Msg::CustomSize], lang[Msg::CustomTimes] + lang[Msg::OriginalRatio], lang[Msg::CustomTimes] + "4:3",
                                   lang[Msg::CustomTimes] + "1.66:1", lang[Msg::CustomTimes] + "16:9"};
    for (const FixedSize& f : kFixedSizes)
        items.push_back(std::to_string(f.width) + " x " + (f.height ? std::to_string(f.height) : lang[Msg::OriginalRatio]));
    return items;
}

std::vector<std::string> rotateList(const LangText& lang)
{
    return {lang[Msg::NoFlipNoRotation], lang[Msg::FlipHorizontal], lang[Msg::FlipVertical], lang[Msg::Rotate180],
            lang[Msg::RotateRightFlip],  lang[Msg::RotateRight],    lang[Msg::RotateLeftFlip], lang[Msg::RotateLeft]};
}

std::vector<std::string> subtitleCodePageList(const LangText& lang)
{
    return {lang[Msg::DefaultEncoding], lang[Msg::EncodingCp950], lang[Msg::EncodingCp936], lang[Msg::EncodingCp1250], lang[Msg::EncodingUnicode]};
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

SizeSetting SetSizeSetting(int index, const std::string& width,
                           const std::string& height, int srcWidth, int srcHeight)
{
    // The item is known by its place in the list, so the rule is the same in every language.
    SizeSetting s{width, height};
    const bool custom = index >= 2 && index < kFirstFixed;
    const int fixed = index - kFirstFixed;
    const bool known = fixed >= 0 && fixed < static_cast<int>(std::size(kFixedSizes));
    const double srcRatio = srcWidth != 0 && srcHeight != 0 ? static_cast<double>(srcHeight) / srcWidth : 1.0;
    auto widthOr = [&](int w) { return w == 0 ? srcWidth : w; };

    if (index == 0) {
        s.width = std::to_string(srcWidth);
        s.height = std::to_string(srcHeight);
    } else if (custom) {
        const int w = widthOr(static_cast<int>(leadingNumber(width)));
        const double ratio = index == 2 ? srcRatio : kCustomRatio[index - 2];
        s.width = std::to_string(w);
        s.height = std::to_string(heightFor(w, ratio));
    } else if (known) {
        const FixedSize& f = kFixedSizes[fixed];
        s.width = std::to_string(f.width);
        s.height = std::to_string(f.height ? f.height : heightFor(f.width, srcRatio));
    }
    s.widthEnabled = index >= 1 && index < kFirstFixed;
    s.heightEnabled = index == 1;
    return s;
}

} // namespace qorvid
