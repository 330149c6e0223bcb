#pragma once
#include <string>
#include <string_view>

namespace qorvid {

struct FileIdentity;
struct RunEnd;

// Why a finished run did not produce the target, "" when it did. A run produced it when the
// tool ended by itself with status 0 (a tool that dies by a signal, or whose own tool did,
// failed however much it wrote) and left a new, non-empty file at the target (a target with
// "*" only has to exist).
// The reason is the system's word for the target's folder, the guard's reason, the signal
// that ended the tool, or the tool's last message line.
std::string runFailure(const RunEnd& end, const std::string& target, const FileIdentity& before);

// The last line of a tool's output that is not a progress line; "" when none.
std::string lastMessageLine(std::string_view output);

} // namespace qorvid
