#include "app/cpu_note.h"

#include "util/text.h"

namespace qorvid {

std::string cpuNoteText(const LangText& lang, const std::string& load)
{
    const std::string shown = leadingNumber(load) < 0 ? "0.0" : load;
    return lang[Msg::CpuUsage] + shown + " %";
}

} // namespace qorvid
