#include "engine/job_preparation.h"

#include "media/source_selection.h"
#include "options/option_presets.h"

namespace qorvid {

PreparedJob prepareJob(const std::string& extOrList, TargetKind kind, const std::string& path,
                       const std::string& formatCaption, AddSourceContext& add)
{
    PreparedJob prepared;
    AddedSource added = addSource(extOrList, kind, path, add);
    if (!added.ready) return prepared;
    prepared.ready = true;
    prepared.subtitleFile = added.subtitleFile;
    prepared.options = presetForKind(add.job, add.lang, formatCaption, added.subtitleFile).options;
    readBackPreset(prepared.options, add.job);
    return prepared;
}

} // namespace qorvid
