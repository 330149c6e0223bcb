#pragma once
#include "player/console_tool.h"

namespace qorvid {

// The tool's top-level windows on X11: the first parentless window whose _NET_WM_PID is the
// tool's process or one of its process group. Without an X11 connection (offscreen, Wayland) nothing is found.
class X11ToolWindows final : public ToolWindows {
public:
    std::uint64_t topLevelOf(int pid) override;
    void setTitle(std::uint64_t window, const std::string& title) override;
    void close(std::uint64_t window) override;
};

} // namespace qorvid
