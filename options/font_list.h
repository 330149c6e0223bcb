#pragma once
#include "app/lang_text.h"

#include <string>
#include <vector>

namespace qorvid {

// One installed font file; a collection's faces are named together ("SimSun & NSimSun").
struct FontFace {
    std::string family;
    std::string file; // full path
};

// The fonts fontconfig knows, one entry per file, sorted by family. With a configuration
// file, only what that configuration names is read (tests); otherwise the system's.
std::vector<FontFace> installedFonts(const std::string& configFile = {});
// installedFonts() of the system, read once per process.
const std::vector<FontFace>& systemFonts();

// The subtitle font list as the options window shows it.
struct FontList {
    std::vector<std::string> items; // caption + "   (" + file name + ")"
    std::vector<std::string> files; // the full path of each item
    int defaultIndex = -1;          // -1: nothing installed

    std::string defaultFile() const;
    // The item of a font file, or -1.
    int indexOfFile(const std::string& file) const;
};

// TrueType files only (.ttf, .ttc); the default for the language ("tw", "gb", "en").
FontList fillFontList(const std::vector<FontFace>& faces, const LangText& lang);

// The font a subtitle gets when nobody chose one: the list's default for the language.
std::string defaultSubtitleFont(const LangText& lang);

} // namespace qorvid
