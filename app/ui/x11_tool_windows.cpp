#include "app/ui/x11_tool_windows.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace qorvid {
namespace {

xcb_connection_t* connection()
{
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    std::free(r);
    return a;
}

int windowPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t pidAtom)
{
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    int pid = 0;
    if (r && xcb_get_property_value_length(r) >= 4) pid = static_cast<int>(*static_cast<uint32_t*>(xcb_get_property_value(r)));
    std::free(r);
    return pid;
}

// The tool is a plugin that starts the real player in its own process group: a window of any
// process of that group is the tool's.
bool belongsTo(int windowPid, int toolPid)
{
    return windowPid > 0 && (windowPid == toolPid || getpgid(windowPid) == toolPid);
}

} // namespace

std::uint64_t X11ToolWindows::topLevelOf(int pid)
{
    xcb_connection_t* c = connection();
    if (!c || pid <= 0) return 0;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr);
    if (!tree) return 0;
    std::uint64_t found = 0;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && found == 0; ++i)
        if (belongsTo(windowPid(c, children[i], pidAtom), pid)) found = children[i];
    std::free(tree);
    return found;
}

void X11ToolWindows::setTitle(std::uint64_t window, const std::string& title)
{
    xcb_connection_t* c = connection();
    if (!c || window == 0) return;
    const auto w = static_cast<xcb_window_t>(window);
    const auto n = static_cast<uint32_t>(title.size());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, n, title.data());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), 8, n, title.data());
    xcb_flush(c);
}

void X11ToolWindows::close(std::uint64_t window)
{
    xcb_connection_t* c = connection();
    if (!c || window == 0) return;
    // WM_DELETE_WINDOW, as a window manager's close box sends it.
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = static_cast<xcb_window_t>(window);
    e.type = atom(c, "WM_PROTOCOLS");
    e.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
    e.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, e.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    xcb_flush(c);
}

} // namespace qorvid
