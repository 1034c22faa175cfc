#include "session_platform.h"

#include <cstdio>
#include <cstdlib>

namespace brindle {

PlatformChoice ChoosePlatform(const SessionEnvironment& session) {
    const bool wayland_session =
        session.session_type == "wayland" || !session.wayland_display.empty();
    if (!wayland_session || !session.chosen_platform.empty()) {
        return PlatformChoice::Unchanged;
    }
    return session.x_display.empty() ? PlatformChoice::NativeWayland : PlatformChoice::XWayland;
}

namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

SessionEnvironment CurrentSessionEnvironment() {
    return {Variable("XDG_SESSION_TYPE"), Variable("WAYLAND_DISPLAY"), Variable("DISPLAY"),
            Variable("QT_QPA_PLATFORM")};
}

void ApplyPlatformChoice(PlatformChoice choice) {
    switch (choice) {
        case PlatformChoice::Unchanged:
            break;
        case PlatformChoice::XWayland:
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            break;
        case PlatformChoice::NativeWayland:
            std::fputs(
                "brindle: no X server in this Wayland session, so the window runs natively on "
                "Wayland and whether it stays on top is up to the compositor\n",
                stderr);
            break;
    }
}

}  // namespace brindle
