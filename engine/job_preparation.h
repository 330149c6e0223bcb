#pragma once
#include "media/format_catalog.h"
#include "options/conversion_options.h"

#include <string>

namespace qorvid {

struct AddSourceContext;

// A source taken for a target kind, with the options the kind starts from.
struct PreparedJob {
    bool ready = false;        // false: the file was refused and its message shown
    ConversionOptions options; // the preset for the kind, already read back into the job
    std::string subtitleFile;  // a subtitle file found beside the source
};

// Every front end takes a source this way: add-source, the preset for the kind, and the
// preset read back into the job. The front end then edits `options` and applies them
// (applyOptions), so that the window, the command line and the dry run cannot disagree.
PreparedJob prepareJob(const std::string& extOrList, TargetKind kind, const std::string& path,
                       const std::string& formatCaption, AddSourceContext& add);

} // namespace qorvid
