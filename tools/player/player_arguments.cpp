#include "player/player_arguments.h"

#include <algorithm>

namespace qorvid::tools {

std::vector<std::string> playerArguments(const std::vector<std::string>& args, bool hasDisplay)
{
    std::vector<std::string> out;
    auto has = [&](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (has("-identify") && !has("-ac")) {
        out.push_back("-ac");
        out.push_back("ffmp3,");
    }
    bool zoomAdded = has("-zoom");
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "-priority" && hasValue) {
            ++i;
            continue;
        }
        if (a == "-vo" && hasValue && args[i + 1].rfind("directx", 0) == 0) {
            out.push_back("-vo");
            out.push_back(hasDisplay ? "xv,x11," : "null");
            if (!zoomAdded) out.push_back("-zoom");
            zoomAdded = true;
            ++i;
            continue;
        }
        out.push_back(a);
    }
    return out;
}

} // namespace qorvid::tools
