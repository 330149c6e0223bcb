#pragma once
#include <string>
#include <vector>

namespace qorvid {

class LangText;

// The long list: message 055, "5" ... "15", then "20" ... "30" with message 120 after each;
// the short list: only "23.976" ... "30" with message 120.
std::vector<std::string> fillFpsList(const LangText& lang, bool shortForm);

struct FpsListUpToSource {
    std::vector<std::string> items;
    int selected = -1; // the last item when the source is below 20, else none
};
// Message 055 and the standard rates not above the source's rate, then the source's rate
// itself when the last standard rate is below it.
FpsListUpToSource fillFpsListUpToSource(const LangText& lang, float srcFps);

// Long: "48" ... "4800" with the quality suffixes; short: from "1152" on.
std::vector<std::string> fillVideoBitrateList(const LangText& lang, bool shortForm);
std::vector<std::string> audioBitrateList(const LangText& lang);
std::vector<std::string> audioSampleList();
std::vector<std::string> fillSizeList(const LangText& lang);
std::vector<std::string> rotateList(const LangText& lang);     // messages 138-145
std::vector<std::string> subtitleCodePageList(const LangText& lang); // messages 212-216

// The index of the first item whose value (leading number) is the given one; -1 if none.
int findListValue(const std::vector<std::string>& items, double value);
// The "-subcp" token of a code-page item: "cp950" from "繁體中文 - cp950", "unicode", or "".
std::string codePageToken(const std::string& item);

// What choosing a cboSize item does to the width and height boxes.
struct SizeSetting {
    std::string width;
    std::string height;
    bool widthEnabled = false;
    bool heightEnabled = false;
};
// index: the chosen cboSize item; width and height: the boxes' current texts
// (the custom-width items keep the typed width).
SizeSetting SetSizeSetting(int index, const std::string& width,
                           const std::string& height, int srcWidth, int srcHeight);

} // namespace qorvid
