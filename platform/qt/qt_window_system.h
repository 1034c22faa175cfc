#pragma once

#include <map>
#include <memory>
#include <utility>

#include "qt/qt_tick_timer.h"
#include "runtime/window_system.h"

namespace brindle {

class QtWindowPeer;

// Creates one QtWindowPeer per loaded window and keeps the handle registry through which the
// declared functions reach a window.
class QtWindowSystem final : public WindowSystem {
public:
    // 1440 twips per inch at 96 logical pixels per inch; Qt scales logical pixels to the screen.
    static constexpr float kTwipsPerPixel = 15.0f;

    QtWindowSystem() : QtWindowSystem(TickSettings{kBuildTickAlignment, &RealWallClockNs}) {}
    explicit QtWindowSystem(TickSettings ticks) : ticks_(std::move(ticks)) {}

    std::unique_ptr<WindowPeer> CreatePeer(Form& form) override;
    void ProcessPendingEvents() override;
    int Run() override;
    void Quit() override;
    void MsgBox(const std::string& prompt) override;

    // The live peer behind a handle, or null for a handle of a window that is gone.
    QtWindowPeer* Find(WindowHandle handle) const;
    // Called by a peer as it is destroyed.
    void Forget(WindowHandle handle);
    // How every window's timers place their ticks.
    const TickSettings& Ticks() const { return ticks_; }

private:
    TickSettings ticks_;
    std::map<WindowHandle, QtWindowPeer*> peers_;
    WindowHandle nextHandle_ = 0x100;
    bool quitRequested_ = false;
};

}  // namespace brindle
