#include "common/waiting_files.h"

#include <sys/stat.h>

namespace qorvid::tools {

std::string firstWaitingFile(const std::vector<std::string>& args)
{
    for (const std::string& a : args) {
        if (a.empty() || a[0] == '-') continue;
        struct stat st {};
        if (::stat(a.c_str(), &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) return a;
    }
    return {};
}

} // namespace qorvid::tools
