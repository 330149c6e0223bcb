#include "media/source_selection.h"

#include "app/lang_text.h"
#include "app/paths.h"
#include "media/job_state.h"
#include "media/probe.h"
#include "media/source_check.h"
#include "util/drive_type.h"
#include "util/file_object.h"
#include "util/reporters.h"
#include "util/text.h"

#include <cmath>
#include <vector>

namespace qorvid {

namespace {
std::vector<std::string> splitList(const std::string& list)
{
    std::vector<std::string> items;
    size_t pos = 0;
    for (;;) {
        size_t bar = list.find('|', pos);
        items.push_back(list.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos));
        if (bar == std::string::npos) break;
        pos = bar + 1;
    }
    return items;
}

std::string suffixFor(TargetKind kind)
{
    const FormatEntry* e = firstEntryOf(kind);
    return (e ? std::string(e->targetSuffix) : std::string()) + ".";
}

// Rounded to whole, raised to even, at least 2.
int evenSide(double v)
{
    int side = static_cast<int>(std::lround(v));
    if (side % 2 != 0) ++side;
    return side < 2 ? 2 : side;
}
} // namespace

std::string targetPathFor(const std::string& source, const std::string& targetExt, TargetKind targetKind,
                          const TargetFolderSetting& setting, const std::string& fallbackFolder,
                          const std::function<bool(const std::string&)>& usableDrive)
{
    FileObject& fo = fileObject();
    std::string folder = setting.mode == 0 ? fo.GetParentFolderName(source) : ensureBackslash(setting.folder);
    if (folder.empty() || !fo.FolderExists(folder) || !usableDrive(folder)) folder = fallbackFolder;
    std::string base = fo.GetBaseName(source);
    std::string target = folder + base + suffixFor(targetKind) + targetExt;
    if (toLower(target) == toLower(source))
        target = folder + base + "_" + toLower(fo.GetExtensionName(source)) + "2." + targetExt;
    return target;
}

std::string targetExtFor(const std::string& extOrList, const std::string& sourcePath)
{
    if (extOrList.find('|') == std::string::npos) return extOrList;
    std::string ext = toLower(fileObject().GetExtensionName(sourcePath));
    if (ext == "mpeg") ext = "mpg";
    auto items = splitList(extOrList);
    for (const auto& item : items)
        if (item == ext) return ext;
    return items.front();
}

std::string openFilterFor(TargetKind targetKind, const std::string& extOrList, const std::string& generalFilter)
{
    if (!isQuickOperation(targetKind)) return generalFilter;
    if (extOrList == "mpg|dat|vob")
        return "MPEG Files (*.mpg;*.mpeg;*.dat;*.vob)|*.mpg;*.mpeg;*.dat;*.vob|All Files (*.*)|*.*";
    return toUpper(extOrList) + " Files (*." + extOrList + ")|*." + extOrList + "|All Files (*.*)|*.*";
}

void limitFrameSize(int srcWidth, int srcHeight, int& targetWidth, int& targetHeight)
{
    targetWidth = targetHeight = 0;
    if (srcWidth == 0 || srcHeight == 0) return;
    targetWidth = srcWidth;
    targetHeight = srcHeight;
    if (srcWidth <= 1280 && srcHeight > 1280) {
        targetHeight = 1280;
        targetWidth = evenSide(static_cast<double>(srcWidth) * 1280 / srcHeight);
    } else if (srcWidth > 1280) {
        targetWidth = 1280;
        targetHeight = evenSide(static_cast<double>(srcHeight) * 1280 / srcWidth);
    }
}

std::string jobTitleFor(TargetKind kind, const LangText& lang)
{
    if (kind == TargetKind::OnlyCut) return lang[Msg::CutWord] + lang[Msg::VideoWord];
    if (kind == TargetKind::OnlyFix) return lang[Msg::RepairWord] + lang[Msg::VideoWord];
    if (kind == TargetKind::OnlyTransVol) return lang[Msg::Adjust] + lang[Msg::Volume];
    if (isSoundTarget(kind)) return lang[Msg::ConvertTo] + kindCaption(kind, lang) + " ";
    return lang[Msg::Convert];
}

ActionWords actionWordsFor(TargetKind kind, const LangText& lang)
{
    if (kind == TargetKind::OnlyCut) return {lang[Msg::CutWord], lang[Msg::CutWord]};
    if (kind == TargetKind::OnlyFix) return {"", lang[Msg::RepairWord]};
    if (kind == TargetKind::OnlyTransVol) return {lang[Msg::Volume], lang[Msg::Adjust]};
    return {lang[Msg::Convert], lang[Msg::Convert]};
}

AddedSource addSource(const std::string& extOrList, TargetKind targetKind, const std::string& path,
                      AddSourceContext& ctx)
{
    AddedSource added;
    if (path.empty()) return added;
    if (!acceptSourceFile(path, ctx.messages, ctx.lang)) return added;

    ctx.labels.output.clear();
    ctx.labels.input = path;
    changeToFolderOf(path);

    ctx.job.clear();
    ctx.job.targetExt = targetExtFor(extOrList, path);
    ctx.job.targetKind = targetKind;
    added.verdict = analyseSource(path, ctx.job, ctx.probe);
    if (added.verdict == kStaticGif) ctx.messages.showMessage(ctx.lang[Msg::StillGif] + "\r\n\r\n" + path);

    auto usable = ctx.usableDrive ? ctx.usableDrive : [](const std::string& p) { return isUsableDrive(p); };
    std::string fallback = ctx.fallbackFolder.empty() ? homeFolder() : ctx.fallbackFolder;
    ctx.labels.output = targetPathFor(path, ctx.job.targetExt, targetKind, ctx.folder, fallback, usable);

    limitFrameSize(ctx.job.srcWidth, ctx.job.srcHeight, ctx.job.targetWidth, ctx.job.targetHeight);

    FileObject& fo = fileObject();
    std::string srt = fo.GetParentFolderName(ctx.labels.output) + fo.GetBaseName(path) + ".srt";
    if (fo.FileExists(srt)) added.subtitleFile = srt;

    ctx.job.jobTitle = jobTitleFor(targetKind, ctx.lang);
    added.ready = true;
    return added;
}

} // namespace qorvid
