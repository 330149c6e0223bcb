#pragma once
#include "app/messages.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qorvid {

class LangText;

enum class TargetGroup {
    Video,   // encoder, picture re-encoded (or copied for AudIsMp3)
    Sound,   // converter, picture dropped
    QuickOp, // encoder, picture copied: volume, cut, repair
};

// What the job makes. Several menu entries may share a kind (MP42 as WMV or AVI, a quick
// operation for each source family); the extension tells them apart.
enum class TargetKind {
    None,
    Vcd, Dvd, Mpeg1, Mpeg2, Wmv7, Wmv8, Mp42, XviD, DivX, H264, AudIsMp3,
    Wav, Mp3, Mp4, Wma, Aac, Ac3, Ogg,
    OnlyTransVol, OnlyCut, OnlyFix,
};

// One target of the source menus. The menus, the command-line front end, the job and the
// command builder all read this table, so a target is described in one place only.
struct FormatEntry {
    std::string_view key;       // command-line name: "vcd", "mp42-avi", "cut-wmv" ...
    std::string_view menu;      // control array of the menu entry: "mnuSrcIsFileToMpg" ...
    int menuIndex;
    TargetGroup group;
    Msg leadMessage;
    // Video and sound: the caption literal (" DAT [VCD]"); quick operations: the text put
    // for "aaa" in the lead message ("MPG|DAT|VOB", listed as the language lists).
    std::string_view caption;
    Msg captionMessage;         // a message inside the literal (AudIsMp3), else Msg::None
    std::string_view captionTail; // literal after that message
    bool recommended;           // message 149 appended to the menu caption
    TargetKind kind;
    std::string_view kindKey;   // the kind's name in settings and command lines: "VCD", "onlyCut", "MP3"
    std::string_view ext;       // target extension, or the source-type list "mpg|dat|vob"
    std::string_view converterSwitches; // sound targets: the codec switch of the converter
    std::string_view targetSuffix; // put before the extension of the target's name: "_Cut"
};

std::span<const FormatEntry> formatCatalog();

const FormatEntry* findFormat(std::string_view key);
const FormatEntry* findFormatByMenu(std::string_view menu, int index);
// The first entry of a kind; nullptr for TargetKind::None.
const FormatEntry* firstEntryOf(TargetKind kind);
// The quick operation ("volume", "cut", "fix") whose menu entry takes a source of this
// extension (mpg, mpeg, dat, vob / wmv / avi, any case); nullptr for other extensions.
const FormatEntry* quickOperationFor(std::string_view operation, std::string_view sourceExt);
// The command-line key: an entry's key, or a quick operation's name chosen by the source.
const FormatEntry* resolveTarget(std::string_view key, std::string_view sourcePath);

// The kind's name ("VCD", "onlyCut", "MP3"; "" for None) and back.
std::string_view kindKey(TargetKind kind);
std::optional<TargetKind> parseKindKey(std::string_view key);

TargetGroup groupOf(TargetKind kind);
bool isSoundTarget(TargetKind kind);
bool isQuickOperation(TargetKind kind);
// VCD and DVD: picture size and frame rate are fixed by the disc standard.
bool isFixedFrame(TargetKind kind);
// Video targets other than AudIsMp3: the picture is encoded anew.
bool reencodesPicture(TargetKind kind);
// Quick operations that copy the sound as it is (cut and repair).
bool copiesSound(TargetKind kind);

// The caption literal with its message filled in (" AVI  [視訊不變 + MP3]").
std::string captionLiteral(const FormatEntry& entry, const LangText& lang);
// The full menu caption: lead message + literal (+ message 149); for quick operations the
// lead message with "aaa" replaced.
std::string menuCaption(const FormatEntry& entry, const LangText& lang);
// The kind as people read it: the key, for sound targets message 264 + the format ("聲音 MP3").
std::string kindCaption(TargetKind kind, const LangText& lang);
// The extension, or for quick operations the source-type list.
inline std::string targetExt(const FormatEntry& entry) { return std::string(entry.ext); }
// The format name shown in the options window: the text between "[" and "]" of the caption,
// the kind's caption for sound targets, message 055 for quick operations.
std::string formatCaption(const FormatEntry& entry, const LangText& lang);

} // namespace qorvid
