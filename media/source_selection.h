#pragma once
#include "media/format_catalog.h"

#include <functional>
#include <string>

namespace qorvid {

class LangText;
class MessageSink;
struct JobState;
struct ProbeContext;

// The captions of the main window's input and output labels: the source and target paths.
struct SourceLabels {
    std::string input;
    std::string output;
};

// Where targets go: mode 0 beside the source, mode 1 in the default folder.
struct TargetFolderSetting {
    int mode = 0;
    std::string folder;
};

// The target path for a source: the folder by the setting (a missing folder or an unusable
// drive gives the fallback), the source's base name, a suffix by kind, the extension; a
// target equal to the source gets "_<ext>2" added.
std::string targetPathFor(const std::string& source, const std::string& targetExt, TargetKind targetKind,
                          const TargetFolderSetting& setting, const std::string& fallbackFolder,
                          const std::function<bool(const std::string&)>& usableDrive);

// For a quick operation's list ("mpg|dat|vob"): the source's own extension when listed
// ("mpeg" written "mpg"), else the list's first. A plain extension is returned as it is.
std::string targetExtFor(const std::string& extOrList, const std::string& sourcePath);

// The open dialog's filter for a menu entry.
std::string openFilterFor(TargetKind targetKind, const std::string& extOrList, const std::string& generalFilter);

// The default target size: the source's, unless a side exceeds 1280.
void limitFrameSize(int srcWidth, int srcHeight, int& targetWidth, int& targetHeight);

std::string jobTitleFor(TargetKind targetKind, const LangText& lang);

// The words of the options button's tool tip and of the encode button's faces.
struct ActionWords {
    std::string settingsWord; // may be empty (repair has no settings)
    std::string actionWord;
};
ActionWords actionWordsFor(TargetKind targetKind, const LangText& lang);

struct AddSourceContext {
    JobState& job;
    SourceLabels& labels;
    const LangText& lang;
    MessageSink& messages;
    ProbeContext& probe;
    TargetFolderSetting folder;
    std::string fallbackFolder; // the home folder
    std::function<bool(const std::string&)> usableDrive;
};

struct AddedSource {
    bool ready = false;       // false: the file was refused (message shown), nothing changed
    std::string verdict;      // the probe's GIF verdict
    std::string subtitleFile; // a .srt of the same base name beside the target, when one exists
};

// Takes a chosen file as the new source: checks it, clears the job, records kind and
// extension, probes it and derives the target path and default size. The presets of the
// options are the caller's next step.
AddedSource addSource(const std::string& extOrList, TargetKind targetKind, const std::string& path,
                      AddSourceContext& ctx);

} // namespace qorvid
