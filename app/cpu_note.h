#pragma once
#include "app/lang_text.h"

#include <string>

namespace qorvid {

// The estimate label's CPU line for a meter reading: message 159 + load + " %",
// a negative reading shown as "0.0".
std::string cpuNoteText(const LangText& lang, const std::string& load);

} // namespace qorvid
