#include "util/process_list.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace qorvid {

bool readProcess(int pid, ProcessInfo& info)
{
    const std::string base = "/proc/" + std::to_string(pid);
    struct stat st {};
    if (::stat(base.c_str(), &st) != 0 || st.st_uid != ::getuid()) return false;

    info = ProcessInfo{};
    info.pid = pid;
    char exe[4096];
    ssize_t n = ::readlink((base + "/exe").c_str(), exe, sizeof exe);
    if (n > 0 && static_cast<size_t>(n) < sizeof exe) info.exePath.assign(exe, static_cast<size_t>(n));

    std::ifstream cmdline(base + "/cmdline", std::ios::binary);
    std::getline(cmdline, info.firstArg, '\0');
    return true;
}

std::vector<ProcessInfo> currentUserProcesses()
{
    std::vector<ProcessInfo> list;
    DIR* proc = ::opendir("/proc");
    if (!proc) return list;
    while (dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        ProcessInfo info;
        if (readProcess(static_cast<int>(pid), info)) list.push_back(std::move(info));
    }
    ::closedir(proc);
    return list;
}

} // namespace qorvid
