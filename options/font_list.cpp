// The subtitle fonts: installed TrueType files from fontconfig, captioned and with a default.
#include "options/font_list.h"

#include "util/text.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <memory>

namespace qorvid {

namespace {

// The English family name of a face, else its first one.
std::string familyOf(FcPattern* face)
{
    FcChar8* value = nullptr;
    std::string first;
    for (int i = 0; FcPatternGetString(face, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        FcChar8* lang = nullptr;
        if (FcPatternGetString(face, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
            std::string(reinterpret_cast<char*>(lang)) == "en")
            return reinterpret_cast<char*>(value);
        if (i == 0) first = reinterpret_cast<char*>(value);
    }
    return first;
}

struct FileFaces {
    std::map<int, std::string> byIndex; // a collection's faces in their order
};

std::vector<FontFace> joinFaces(const std::map<std::string, FileFaces>& files)
{
    std::vector<FontFace> fonts;
    for (const auto& [file, faces] : files) {
        std::vector<std::string> names;
        for (const auto& [index, family] : faces.byIndex)
            if (!family.empty() && std::find(names.begin(), names.end(), family) == names.end())
                names.push_back(family);
        std::string family;
        for (const std::string& n : names) family += (family.empty() ? "" : " & ") + n;
        fonts.push_back({family, file});
    }
    std::stable_sort(fonts.begin(), fonts.end(), [](const FontFace& a, const FontFace& b) {
        return toLower(a.family) < toLower(b.family);
    });
    return fonts;
}

struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

std::unique_ptr<FcConfig, ConfigDeleter> loadConfig(const std::string& configFile)
{
    if (configFile.empty()) return std::unique_ptr<FcConfig, ConfigDeleter>(FcInitLoadConfigAndFonts());
    std::unique_ptr<FcConfig, ConfigDeleter> config(FcConfigCreate());
    if (!config) return config;
    if (!FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8*>(configFile.c_str()), FcTrue) ||
        !FcConfigBuildFonts(config.get()))
        config.reset();
    return config;
}

// A known family shows under the name its users know it by.
Msg captionMessage(const std::string& name, bool& known)
{
    static const std::pair<const char*, Msg> table[] = {
        {"FangSong", Msg::FontFangSong},
        {"SimSun", Msg::FontSimSun},
        {"SimSun & NSimSun", Msg::FontSimSunNSimSun},
        {"MingLiU & PMingLiU & MingLiU_HKSCS", Msg::FontMingLiU},
        {"MingLiU-ExtB & PMingLiU-ExtB & MingLiU_HKSCS-ExtB", Msg::FontMingLiUExtB},
        {"SimHei", Msg::FontSimHei},
        {"Microsoft JhengHei", Msg::FontJhengHei},
        {"Microsoft JhengHei Bold", Msg::FontJhengHeiBold},
        {"Microsoft YaHei", Msg::FontYaHei},
        {"Microsoft YaHei Bold", Msg::FontYaHeiBold},
        {"KaiTi", Msg::FontKaiTi},
        {"DFKai-SB", Msg::FontDFKai},
    };
    for (const auto& [n, m] : table)
        if (name == n) {
            known = true;
            return m;
        }
    known = false;
    return Msg::FontFangSong;
}

bool isTrueTypeFile(const std::string& fileName)
{
    const std::string lower = toLower(fileName);
    return lower.find(".ttf") != std::string::npos || lower.find(".ttc") != std::string::npos;
}

// The last item holding the first of the names that any item holds; -1 when none does.
int lastItemWith(const std::vector<std::string>& items, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        for (int i = static_cast<int>(items.size()) - 1; i >= 0; --i)
            if (toLower(items[static_cast<size_t>(i)]).find(name) != std::string::npos) return i;
    return -1;
}

} // namespace

std::vector<FontFace> installedFonts(const std::string& configFile)
{
    auto config = loadConfig(configFile);
    if (!config) return {};
    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_FAMILY, FC_FAMILYLANG, FC_INDEX, nullptr);
    FcFontSet* set = FcFontList(config.get(), all, objects);
    std::map<std::string, FileFaces> files;
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        int index = 0;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        // Variable fonts list their named instances at high indexes; the base face names the file.
        files[reinterpret_cast<char*>(file)].byIndex.emplace(index & 0xFFFF, familyOf(set->fonts[i]));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(all);
    return joinFaces(files);
}

const std::vector<FontFace>& systemFonts()
{
    static const std::vector<FontFace> fonts = installedFonts();
    return fonts;
}

std::string FontList::defaultFile() const
{
    return defaultIndex < 0 ? std::string() : files[static_cast<size_t>(defaultIndex)];
}

int FontList::indexOfFile(const std::string& file) const
{
    for (size_t i = 0; i < files.size(); ++i)
        if (files[i] == file) return static_cast<int>(i);
    return -1;
}

FontList fillFontList(const std::vector<FontFace>& faces, const LangText& lang)
{
    FontList list;
    for (const FontFace& face : faces) {
        const std::string fileName = face.file.substr(face.file.find_last_of('/') + 1);
        if (!isTrueTypeFile(fileName)) continue;
        bool known = false;
        const Msg message = captionMessage(face.family, known);
        const std::string caption = known ? lang[message] : face.family;
        list.items.push_back(caption + "   (" + fileName + ")");
        list.files.push_back(face.file);
    }
    if (list.items.empty()) return list;
    // Where the usual Windows font is missing, the Debian font of the same look stands in.
    int own = -1;
    if (lang.code() == "tw") own = lastItemWith(list.items, {"kaiu.ttf", "bkai00mp.ttf", "ukai.ttc"});
    if (lang.code() == "gb") own = lastItemWith(list.items, {"simhei.ttf", "gkai00mp.ttf", "ukai.ttc"});
    const int arial = lastItemWith(list.items, {"arial.ttf", "liberationsans-regular.ttf", "dejavusans.ttf"});
    list.defaultIndex = own >= 0 ? own : arial >= 0 ? arial : 0;
    return list;
}

std::string defaultSubtitleFont(const LangText& lang)
{
    return fillFontList(systemFonts(), lang).defaultFile();
}

} // namespace qorvid
