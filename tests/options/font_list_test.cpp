// The subtitle font list from a font folder made for the test and read through fontconfig.
#include "options/font_list.h"

#include "support/lang.h"
#include "support/test_tools.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qorvid;
using namespace qorvid::test;

namespace {

const std::string kFonts = "/usr/share/fonts/";

// A folder of links to Debian's font files under the names the test gives them, and a
// fontconfig configuration that reads only that folder.
class FontFolder {
public:
    void add(const std::string& name, const std::string& debianFile)
    {
        std::filesystem::create_symlink(kFonts + debianFile, dir_.file(name));
    }
    std::vector<FontFace> read() const
    {
        const std::string conf = dir_.file("fonts.conf");
        writeFile(conf, "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig><dir>" +
                            dir_.path() + "</dir><cachedir>" + dir_.path() + "cache</cachedir></fontconfig>");
        return installedFonts(conf);
    }
    std::string path(const std::string& name) const { return dir_.file(name); }

private:
    TempDir dir_;
};

TEST(FontList, ListsTrueTypeFilesByFamilyWithTheirFullPathAndLeavesOtherFilesOut)
{
    // An empty folder or a configuration that is not there lists nothing.
    EXPECT_TRUE(FontFolder().read().empty());
    EXPECT_TRUE(installedFonts("/nonexistent/fonts.conf").empty());

    FontFolder folder;
    folder.add("arial.ttf", "truetype/liberation/LiberationSans-Regular.ttf");
    folder.add("kaiu.ttf", "truetype/arphic-bkai00mp/bkai00mp.ttf");
    folder.add("old.fon", "truetype/dejavu/DejaVuSans.ttf"); // readable, but not a TrueType name
    folder.add("cjk.ttc", "opentype/noto/NotoSansCJK-Regular.ttc");
    const std::vector<FontFace> faces = folder.read();
    ASSERT_EQ(faces.size(), 4u) << "fontconfig reads every file of the folder";

    const FontList list = fillFontList(faces, loadedLang("en"));
    ASSERT_EQ(list.items.size(), 3u);
    ASSERT_EQ(list.files.size(), 3u);
    for (const std::string& item : list.items) EXPECT_EQ(item.find(".fon"), std::string::npos) << item;

    const int arial = list.indexOfFile(folder.path("arial.ttf"));
    ASSERT_GE(arial, 0);
    EXPECT_EQ(list.items[static_cast<size_t>(arial)], "Liberation Sans   (arial.ttf)");
    // A collection is one item naming its faces together.
    const int cjk = list.indexOfFile(folder.path("cjk.ttc"));
    ASSERT_GE(cjk, 0);
    const std::string& collection = list.items[static_cast<size_t>(cjk)];
    EXPECT_NE(collection.find("Noto Sans CJK"), std::string::npos) << collection;
    EXPECT_NE(collection.find(" & "), std::string::npos) << collection;
    EXPECT_EQ(collection.substr(collection.size() - 12), "   (cjk.ttc)");

    // The default follows the language: the Kai font for tw, Arial for en and for gb,
    // which has no simhei.ttf or Simplified Kai font here.
    EXPECT_EQ(fillFontList(faces, loadedLang("tw")).defaultFile(), folder.path("kaiu.ttf"));
    EXPECT_EQ(list.defaultFile(), folder.path("arial.ttf"));
    EXPECT_EQ(fillFontList(faces, loadedLang("gb")).defaultFile(), folder.path("arial.ttf"));
}

TEST(FontList, KnownFamiliesShowTheirCaptionInTheLanguage)
{
    const LangText tw = loadedLang("tw");
    const FontList list = fillFontList({{"DFKai-SB", "/f/kaiu.ttf"}, {"Arial", "/f/arial.ttf"}}, tw);
    EXPECT_EQ(list.items, (std::vector<std::string>{tw[Msg::FontDFKai] + "   (kaiu.ttf)", "Arial   (arial.ttf)"}));
}

TEST(FontList, DefaultFallsBackThroughTheStandInsToTheFirstItem)
{
    struct Case {
        const char* language;
        std::vector<FontFace> faces;
        std::string expected;
    } cases[] = {
        // The last of several arial.ttf files is the one.
        {"en", {{"Arial", "/a/arial.ttf"}, {"Arial", "/b/arial.ttf"}}, "/b/arial.ttf"},
        {"en", {{"DejaVu Sans", "/d/DejaVuSans.ttf"}, {"Liberation Sans", "/l/LiberationSans-Regular.ttf"}},
         "/l/LiberationSans-Regular.ttf"},
        {"en", {{"Foo", "/f/foo.ttf"}, {"DejaVu Sans", "/d/DejaVuSans.ttf"}}, "/d/DejaVuSans.ttf"},
        {"en", {{"Foo", "/f/foo.ttf"}, {"Bar", "/f/bar.ttf"}}, "/f/foo.ttf"},
        {"tw", {{"AR PL KaitiM Big5", "/k/bkai00mp.ttf"}, {"Arial", "/a/arial.ttf"}}, "/k/bkai00mp.ttf"},
        {"gb", {{"AR PL KaitiM GB", "/k/gkai00mp.ttf"}, {"AR PL KaitiM Big5", "/k/bkai00mp.ttf"}},
         "/k/gkai00mp.ttf"},
        {"gb", {{"SimHei", "/f/simhei.ttf"}, {"AR PL KaitiM GB", "/k/gkai00mp.ttf"}}, "/f/simhei.ttf"},
        // A bitmap font alone lists nothing: no default, no font option.
        {"tw", {{"Fixed", "/x/6x13.pcf.gz"}}, ""},
        {"en", {}, ""},
    };
    for (const Case& c : cases) {
        const FontList list = fillFontList(c.faces, loadedLang(c.language));
        EXPECT_EQ(list.defaultFile(), c.expected) << c.language << " " << c.faces.size() << " faces";
        if (c.expected.empty()) { EXPECT_EQ(list.defaultIndex, -1); }
    }
}

} // namespace
