#pragma once
#include "util/process_list.h"

#include <string>
#include <string_view>
#include <vector>

namespace qorvid {

// Whether the process was started from under the prefix: its program file or its first
// argument begins with it, compared without regard to case.
bool isUnderPrefix(const ProcessInfo& process, std::string_view prefix);

// The processes of the list that closeStaleTools ends; never selfPid, never for an empty prefix.
std::vector<int> selectStaleTools(const std::vector<ProcessInfo>& processes, std::string_view prefix,
                                  int selfPid);

// Ends the current user's tool processes left under the prefix (the plugins folder +
// "ZevraRes"): asks each to close, then kills it. Returns how many were ended.
int closeStaleTools(const std::string& prefix);

} // namespace qorvid
