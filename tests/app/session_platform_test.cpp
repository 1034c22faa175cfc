#include <gtest/gtest.h>

#include "session_platform.h"

namespace brindle {
namespace {

TEST(SessionPlatform, WaylandSessionsRunOnXWaylandUnlessTheUserChoseOrThereIsNoXServer) {
    using P = PlatformChoice;
    // XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY, QT_QPA_PLATFORM ("" when unset).
    const std::vector<std::pair<SessionEnvironment, PlatformChoice>> rows = {
        {{"x11", "", ":0", ""}, P::Unchanged},
        {{"wayland", "wayland-0", ":0", ""}, P::XWayland},
        {{"", "wayland-0", ":1", ""}, P::XWayland},
        {{"wayland", "", ":0", ""}, P::XWayland},
        {{"wayland", "wayland-0", ":0", "xcb"}, P::Unchanged},
        {{"wayland", "wayland-0", "", "wayland"}, P::Unchanged},
        {{"wayland", "wayland-0", "", ""}, P::NativeWayland},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(ChoosePlatform(rows[i].first), rows[i].second) << "row " << i;
    }
}

}  // namespace
}  // namespace brindle
