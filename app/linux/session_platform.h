#pragma once

#include <string_view>

namespace brindle {

// The variables of the user's session that decide which display platform the desktop program
// runs on. An unset variable is an empty view.
struct SessionEnvironment {
    std::string_view session_type;     // XDG_SESSION_TYPE
    std::string_view wayland_display;  // WAYLAND_DISPLAY
    std::string_view x_display;        // DISPLAY
    std::string_view chosen_platform;  // QT_QPA_PLATFORM
};

enum class PlatformChoice {
    // Not a Wayland session, or the user named a platform: the toolkit's own choice stands.
    Unchanged,
    // A Wayland session with an X server: run on XWayland, where staying on top, placing the
    // window and dragging it work as on X11, which Wayland compositors do not grant a client.
    XWayland,
    // A Wayland session without an X server: run natively, and staying on top is up to the
    // compositor.
    NativeWayland,
};

PlatformChoice ChoosePlatform(const SessionEnvironment& session);

// The session's variables as this process sees them.
SessionEnvironment CurrentSessionEnvironment();

// Makes the choice take effect: it must run before the toolkit's application object exists,
// because the toolkit reads the platform once, when that object is made.
void ApplyPlatformChoice(PlatformChoice choice);

}  // namespace brindle
