#include "media/format_catalog.h"

#include "app/lang_text.h"
#include "util/file_object.h"
#include "util/text.h"

#include <array>

namespace qorvid {

namespace {

constexpr TargetGroup V = TargetGroup::Video;
constexpr TargetGroup S = TargetGroup::Sound;
constexpr TargetGroup Q = TargetGroup::QuickOp;

constexpr Msg ToVideo = Msg::ConvertVideoTo, ToSound = Msg::ToSoundMenu, Vol = Msg::ChangeVolumeMany,
              Cut = Msg::CutMany, Fix = Msg::RepairMany, NoMsg = Msg::None;

constexpr std::array<FormatEntry, 28> kCatalog{{
    // key, menu, index, group, lead, caption, captionMessage, tail, recommended, kind, kind key, ext,
    // converter, suffix
    {"vcd", "mnuSrcIsFileToMpg", 0, V, ToVideo, " DAT [VCD]", NoMsg, "", false, TargetKind::Vcd, "VCD", "dat", "", ""},
    {"dvd", "mnuSrcIsFileToMpg", 1, V, ToVideo, " VOB [DVD]", NoMsg, "", false, TargetKind::Dvd, "DVD", "vob", "", ""},
    // index 2 of this menu is a separator
    {"mpeg1", "mnuSrcIsFileToMpg", 3, V, ToVideo, " MPG [MPEG1]", NoMsg, "", false, TargetKind::Mpeg1, "MPEG1", "mpg", "", ""},
    {"mpeg2", "mnuSrcIsFileToMpg", 4, V, ToVideo, " MPG [MPEG2]  ", NoMsg, "", true, TargetKind::Mpeg2, "MPEG2", "mpg", "", ""},
    {"wmv7", "mnuSrcIsFileToWmv", 0, V, ToVideo, " WMV [WMV7]", NoMsg, "", false, TargetKind::Wmv7, "WMV7", "wmv", "", ""},
    {"wmv8", "mnuSrcIsFileToWmv", 1, V, ToVideo, " WMV [WMV8]", NoMsg, "", false, TargetKind::Wmv8, "WMV8", "wmv", "", ""},
    {"mp42-wmv", "mnuSrcIsFileToWmv", 2, V, ToVideo, " WMV [MP42]  ", NoMsg, "", true, TargetKind::Mp42, "MP42", "wmv", "", ""},
    {"mp42-avi", "mnuSrcIsFileToAvi", 0, V, ToVideo, " AVI  [MP42 + MP3]", NoMsg, "", false, TargetKind::Mp42, "MP42", "avi", "", ""},
    {"xvid", "mnuSrcIsFileToAvi", 1, V, ToVideo, " AVI  [XviD + MP3]", NoMsg, "", false, TargetKind::XviD, "XviD", "avi", "", ""},
    {"divx", "mnuSrcIsFileToAvi", 2, V, ToVideo, " AVI  [DivX + MP3]  ", NoMsg, "", true, TargetKind::DivX, "DivX", "avi", "", ""},
    {"h264", "mnuSrcIsFileToAvi", 3, V, ToVideo, " AVI  [H.264 + MP3]", NoMsg, "", false, TargetKind::H264, "H.264", "avi", "", ""},
    {"audmp3", "mnuSrcIsFileToAvi", 4, V, ToVideo, " AVI  [", Msg::VideoUnchanged, " + MP3]", false, TargetKind::AudIsMp3, "AudIsMp3", "avi", "", "_AudIsMp3"},
    {"wav", "mnuSrcIsFileToSound", 0, S, ToSound, " WAV", NoMsg, "", false, TargetKind::Wav, "WAV", "wav", "", ""},
    {"mp3", "mnuSrcIsFileToSound", 1, S, ToSound, " MP3", NoMsg, "", false, TargetKind::Mp3, "MP3", "mp3", "", ""},
    {"mp4", "mnuSrcIsFileToSound", 2, S, ToSound, " MP4", NoMsg, "", false, TargetKind::Mp4, "MP4", "mp4", " -f mp4 -acodec libfaac", ""},
    {"wma", "mnuSrcIsFileToSound", 3, S, ToSound, " WMA", NoMsg, "", false, TargetKind::Wma, "WMA", "wma", " -acodec wmav2", ""},
    {"aac", "mnuSrcIsFileToSound", 4, S, ToSound, " AAC", NoMsg, "", false, TargetKind::Aac, "AAC", "aac", " -f mp4 -acodec libfaac", ""},
    {"ac3", "mnuSrcIsFileToSound", 5, S, ToSound, " AC3", NoMsg, "", false, TargetKind::Ac3, "AC3", "ac3", " -acodec ac3", ""},
    {"ogg", "mnuSrcIsFileToSound", 6, S, ToSound, " OGG", NoMsg, "", false, TargetKind::Ogg, "OGG", "ogg", " -acodec vorbis", ""},
    {"volume-mpg", "mnuSrcIsFileToChangeVol", 0, Q, Vol, "MPG|DAT|VOB", NoMsg, "", false, TargetKind::OnlyTransVol, "onlyTransVol", "mpg|dat|vob", "", "_NewVol"},
    {"volume-wmv", "mnuSrcIsFileToChangeVol", 1, Q, Vol, "WMV", NoMsg, "", false, TargetKind::OnlyTransVol, "onlyTransVol", "wmv", "", "_NewVol"},
    {"volume-avi", "mnuSrcIsFileToChangeVol", 2, Q, Vol, "AVI ", NoMsg, "", false, TargetKind::OnlyTransVol, "onlyTransVol", "avi", "", "_NewVol"},
    {"cut-mpg", "mnuSrcIsFileToCut", 0, Q, Cut, "MPG|DAT|VOB", NoMsg, "", false, TargetKind::OnlyCut, "onlyCut", "mpg|dat|vob", "", "_Cut"},
    {"cut-wmv", "mnuSrcIsFileToCut", 1, Q, Cut, "WMV", NoMsg, "", false, TargetKind::OnlyCut, "onlyCut", "wmv", "", "_Cut"},
    {"cut-avi", "mnuSrcIsFileToCut", 2, Q, Cut, "AVI ", NoMsg, "", false, TargetKind::OnlyCut, "onlyCut", "avi", "", "_Cut"},
    {"fix-mpg", "mnuSrcIsFileToFix", 0, Q, Fix, "MPG|DAT|VOB", NoMsg, "", false, TargetKind::OnlyFix, "onlyFix", "mpg|dat|vob", "", "_Fix"},
    {"fix-wmv", "mnuSrcIsFileToFix", 1, Q, Fix, "WMV", NoMsg, "", false, TargetKind::OnlyFix, "onlyFix", "wmv", "", "_Fix"},
    {"fix-avi", "mnuSrcIsFileToFix", 2, Q, Fix, "AVI ", NoMsg, "", false, TargetKind::OnlyFix, "onlyFix", "avi", "", "_Fix"},
}};

} // namespace

std::span<const FormatEntry> formatCatalog() { return kCatalog; }

const FormatEntry* findFormat(std::string_view key)
{
    for (const auto& e : kCatalog)
        if (e.key == key) return &e;
    return nullptr;
}

const FormatEntry* findFormatByMenu(std::string_view menu, int index)
{
    for (const auto& e : kCatalog)
        if (e.menu == menu && e.menuIndex == index) return &e;
    return nullptr;
}

const FormatEntry* firstEntryOf(TargetKind kind)
{
    for (const auto& e : kCatalog)
        if (e.kind == kind) return &e;
    return nullptr;
}

const FormatEntry* quickOperationFor(std::string_view operation, std::string_view sourceExt)
{
    std::string ext = toLower(sourceExt);
    std::string_view family;
    if (ext == "mpg" || ext == "mpeg" || ext == "dat" || ext == "vob")
        family = "mpg";
    else if (ext == "wmv" || ext == "avi")
        family = ext;
    else
        return nullptr;
    return findFormat(std::string(operation) + "-" + std::string(family));
}

const FormatEntry* resolveTarget(std::string_view key, std::string_view sourcePath)
{
    if (key == "volume" || key == "cut" || key == "fix")
        return quickOperationFor(key, fileObject().GetExtensionName(std::string(sourcePath)));
    return findFormat(key);
}

std::string_view kindKey(TargetKind kind)
{
    const FormatEntry* e = firstEntryOf(kind);
    return e ? e->kindKey : std::string_view{};
}

std::optional<TargetKind> parseKindKey(std::string_view key)
{
    for (const auto& e : kCatalog)
        if (e.kindKey == key) return e.kind;
    return std::nullopt;
}

TargetGroup groupOf(TargetKind kind)
{
    const FormatEntry* e = firstEntryOf(kind);
    return e ? e->group : TargetGroup::Video;
}

bool isSoundTarget(TargetKind kind) { return kind != TargetKind::None && groupOf(kind) == TargetGroup::Sound; }
bool isQuickOperation(TargetKind kind) { return kind != TargetKind::None && groupOf(kind) == TargetGroup::QuickOp; }
bool isFixedFrame(TargetKind kind) { return kind == TargetKind::Vcd || kind == TargetKind::Dvd; }
bool reencodesPicture(TargetKind kind)
{
    return kind != TargetKind::None && kind != TargetKind::AudIsMp3 && groupOf(kind) == TargetGroup::Video;
}
bool copiesSound(TargetKind kind) { return kind == TargetKind::OnlyCut || kind == TargetKind::OnlyFix; }

std::string captionLiteral(const FormatEntry& entry, const LangText& lang)
{
    std::string text(entry.caption);
    if (entry.captionMessage != Msg::None) text += lang[entry.captionMessage];
    text += entry.captionTail;
    return text;
}

std::string menuCaption(const FormatEntry& entry, const LangText& lang)
{
    if (entry.group == TargetGroup::QuickOp) {
        // The source types are listed the way each language lists things.
        const std::string_view comma = toLower(lang.code()) == "en" ? ", " : "、";
        return fillPlaceholders(lang[entry.leadMessage], {replaceAll(std::string(entry.caption), "|", comma)});
    }
    std::string text = lang[entry.leadMessage] + captionLiteral(entry, lang);
    if (entry.recommended) text += lang[Msg::Recommended];
    return text;
}

std::string kindCaption(TargetKind kind, const LangText& lang)
{
    const FormatEntry* e = firstEntryOf(kind);
    if (!e) return {};
    if (e->group == TargetGroup::Sound) return lang[Msg::SoundWord] + std::string(e->caption);
    return std::string(e->kindKey);
}

std::string formatCaption(const FormatEntry& entry, const LangText& lang)
{
    switch (entry.group) {
    case TargetGroup::Sound: return kindCaption(entry.kind, lang);
    case TargetGroup::QuickOp: return lang[Msg::SameAsSourceMedia];
    case TargetGroup::Video: break;
    }
    std::string caption = captionLiteral(entry, lang);
    auto open = caption.find('[');
    if (open == std::string::npos) return {};
    auto close = caption.find(']', open + 1);
    if (close == std::string::npos) return {};
    return caption.substr(open + 1, close - open - 1);
}

} // namespace qorvid
