#pragma once
#include <span>
#include <string>
#include <string_view>

namespace qorvid {

class LangText;

enum class TargetGroup {
    Video,   // encoder, picture re-encoded (or copied for "AudIsMp3")
    Sound,   // converter, picture dropped
    QuickOp, // encoder, picture copied: volume, cut, repair
};

// One target of the source menus. The menus, the command-line front end and the
// command builder all read this table, so a target is described in one place only.
struct FormatEntry {
    std::string_view key;       // command-line name: "vcd", "mp42-avi", "cut-wmv" ...
    std::string_view menu;      // control array of the menu entry: "mnuSrcIsFileToMpg" ...
    int menuIndex;
    TargetGroup group;
    int leadMessage;            // 148, 151, 153, 155 or 157
    // Video and sound: the caption literal (" DAT [VCD]"); quick operations: the text put
    // for "aaa" in the lead message ("MPG、DAT、VOB").
    std::string_view caption;
    int captionMessage;         // a message inside the literal (150 for "AudIsMp3"), else 0
    std::string_view captionTail; // literal after that message
    bool recommended;           // message 149 appended to the menu caption
    std::string_view kind;      // video and quick operations; sound kinds are built from message 264
    std::string_view ext;       // target extension, or the source-type list "mpg|dat|vob"
    std::string_view converterSwitches; // sound targets: the codec switch of the converter
};

std::span<const FormatEntry> formatCatalog();

const FormatEntry* findFormat(std::string_view key);
const FormatEntry* findFormatByMenu(std::string_view menu, int index);
// The quick operation ("volume", "cut", "fix") whose menu entry takes a source of this
// extension (mpg, mpeg, dat, vob / wmv / avi, any case); nullptr for other extensions.
const FormatEntry* quickOperationFor(std::string_view operation, std::string_view sourceExt);

// The caption literal with its message filled in (" AVI  [視訊不變 + MP3]").
std::string captionLiteral(const FormatEntry& entry, const LangText& lang);
// The full menu caption: lead message + literal (+ message 149); for quick operations the
// lead message with "aaa" replaced.
std::string menuCaption(const FormatEntry& entry, const LangText& lang);
// The `targetKind` the entry sets; for sound targets message 264 + the literal.
std::string targetKind(const FormatEntry& entry, const LangText& lang);
// The extension, or for quick operations the source-type list.
inline std::string targetExt(const FormatEntry& entry) { return std::string(entry.ext); }
// The format name shown in the options window: the text between "[" and "]" of the caption,
// the kind for sound targets, message 055 for quick operations.
std::string formatCaption(const FormatEntry& entry, const LangText& lang);

// Kinds of sound targets differ per language; only "contains message 264" identifies them.
bool isSoundTarget(std::string_view kind, const LangText& lang);
bool isQuickOperation(std::string_view kind); // "onlyTransVol", "onlyCut", "onlyFix"

} // namespace qorvid
