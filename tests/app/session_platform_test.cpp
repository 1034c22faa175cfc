#include <gtest/gtest.h>

#include "session_platform.h"

namespace brindle {
namespace {

struct SessionRow {
    const char* what;
    SessionEnvironment session;
    PlatformChoice expected;
};

// Fields: XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY, QT_QPA_PLATFORM ("" when unset).
const SessionRow kSessions[] = {
    {"X11 session", {"x11", "", ":0", ""}, PlatformChoice::Unchanged},
    {"no session type, only an X server", {"", "", ":0", ""}, PlatformChoice::Unchanged},
    {"Wayland session with Xwayland", {"wayland", "wayland-0", ":0", ""}, PlatformChoice::XWayland},
    {"Wayland socket without a session type",
     {"", "wayland-0", ":1", ""},
     PlatformChoice::XWayland},
    {"Wayland session type without a socket name",
     {"wayland", "", ":0", ""},
     PlatformChoice::XWayland},
    {"user chose xcb", {"wayland", "wayland-0", ":0", "xcb"}, PlatformChoice::Unchanged},
    {"user chose wayland", {"wayland", "wayland-0", ":0", "wayland"}, PlatformChoice::Unchanged},
    {"user chose wayland, no X server",
     {"wayland", "wayland-0", "", "wayland"},
     PlatformChoice::Unchanged},
    {"Wayland session without an X server",
     {"wayland", "wayland-0", "", ""},
     PlatformChoice::NativeWayland},
    {"tty session type with a Wayland socket, no X server",
     {"tty", "wayland-0", "", ""},
     PlatformChoice::NativeWayland},
};

TEST(SessionPlatform, WaylandSessionsRunOnXWaylandUnlessTheUserChoseOrThereIsNoXServer) {
    for (const SessionRow& row : kSessions) {
        EXPECT_EQ(ChoosePlatform(row.session), row.expected) << row.what;
    }
}

}  // namespace
}  // namespace brindle
