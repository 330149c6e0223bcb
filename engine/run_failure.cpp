#include "engine/run_failure.h"

#include "engine/tool_runner.h"
#include "util/target_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace qorvid {

namespace {

bool isProgressLine(std::string_view line)
{
    for (std::string_view mark : {"Pos:", "time=", "frame="})
        if (line.find(mark) != std::string_view::npos) return true;
    return false;
}

std::string signalReason(int exitCode)
{
    const int sig = exitCode - 128;
    const char* name = strsignal(sig);
    return "signal " + std::to_string(sig) + (name ? std::string(" (") + name + ")" : std::string());
}

} // namespace

std::string lastMessageLine(std::string_view output)
{
    std::string_view best;
    size_t begin = 0;
    while (begin < output.size()) {
        size_t end = output.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) end = output.size();
        std::string_view line = output.substr(begin, end - begin);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        if (!line.empty() && !isProgressLine(line)) best = line;
        begin = end + 1;
    }
    return std::string(best);
}

std::string runFailure(const RunEnd& end, const std::string& target, const FileIdentity& before)
{
    if (!end.guardReason.empty()) return end.guardReason;
    const FileIdentity after = identityOf(target);
    const bool isNew = after.exists && !(after.device == before.device && after.inode == before.inode &&
                                         after.modifiedNs == before.modifiedNs);
    const bool pattern = target.find('*') != std::string::npos;
    const bool written = pattern ? after.exists : isNew && after.size > 0;
    if (end.endedByItself && end.exitCode == 0 && written) return {};

    if (std::string folder = folderProblem(target); !folder.empty()) return folder;
    if (end.exitCode > 128 && end.exitCode < 128 + 65) return signalReason(end.exitCode);
    if (std::string line = lastMessageLine(end.outputTail); !line.empty()) return line;
    if (end.exitCode != 0) return "exit status " + std::to_string(end.exitCode);
    return target + ": " + (after.exists ? "0 bytes" : std::strerror(ENOENT));
}

} // namespace qorvid
