#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "busy.h"

namespace brindle::busy {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

}  // namespace

bool OtherWindowFullScreen(const X11Display& display) {
    xcb_connection_t* connection = display.connection;
    if (connection == nullptr) {
        return false;
    }
    // The three names are asked for at once, so the check costs one round trip for them.
    const char* const names[] = {"_NET_ACTIVE_WINDOW", "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i) {
        cookies[i] = xcb_intern_atom(connection, 1,
                                     static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
    }
    xcb_atom_t atoms[3] = {};
    for (int i = 0; i < 3; ++i) {
        const Reply<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        atoms[i] = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    if (std::find(std::begin(atoms), std::end(atoms), XCB_ATOM_NONE) != std::end(atoms)) {
        return false;
    }
    const Reply<xcb_get_property_reply_t> active(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, display.root, atoms[0], XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!active || xcb_get_property_value_length(active.get()) < 4) {
        return false;
    }
    const xcb_window_t window = *static_cast<xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE || std::find(display.ownWindows.begin(), display.ownWindows.end(),
                                               window) != display.ownWindows.end()) {
        return false;
    }
    const Reply<xcb_get_property_reply_t> state(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atoms[1], XCB_ATOM_ATOM, 0, 64),
        nullptr));
    if (!state) {
        return false;
    }
    const auto* first = static_cast<xcb_atom_t*>(xcb_get_property_value(state.get()));
    const auto* last = first + xcb_get_property_value_length(state.get()) / 4;
    return std::find(first, last, atoms[2]) != last;
}

}  // namespace brindle::busy
