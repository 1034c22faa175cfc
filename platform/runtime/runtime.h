#pragma once

#include <memory>
#include <vector>

#include "clock.h"
#include "desktop.h"
#include "os_functions.h"
#include "runtime/window_system.h"

namespace brindle {

class Form;

// Ties the windows to the toolkit, the declared functions, the clock and the desktop, counts the
// loaded windows and ends the program when none is left.
class Runtime {
public:
    Runtime(WindowSystem& windowSystem, OsFunctions& os, const Clock& clock, Desktop& desktop)
        : windowSystem_(windowSystem), os_(os), clock_(clock), desktop_(desktop) {}
    ~Runtime();

    WindowSystem& GetWindowSystem() const { return windowSystem_; }
    OsFunctions& GetOsFunctions() const { return os_; }
    const Clock& GetClock() const { return clock_; }
    Desktop& GetDesktop() const { return desktop_; }

    void DoEvents() { windowSystem_.ProcessPendingEvents(); }
    // Runs the event loop until no window is loaded.
    int Run();
    int LoadedWindowCount() const { return loaded_; }
    bool HasEnded() const { return ended_; }

    // Marks the span of one event's handler. What a handler unloads is destroyed only when the
    // outermost event is over, since a native widget or control may still be on the stack.
    class EventScope {
    public:
        explicit EventScope(Runtime& runtime) : runtime_(runtime) { ++runtime_.eventDepth_; }
        ~EventScope() { runtime_.LeaveEvent(); }
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;

    private:
        Runtime& runtime_;
    };

    // Called by forms.
    void WindowLoaded();
    void WindowUnloaded();
    void Discard(std::unique_ptr<WindowPeer> peer, std::vector<std::unique_ptr<Control>> controls);

private:
    void LeaveEvent();
    void EndIfNoWindowIsLeft();
    void EmptyDiscarded();

    WindowSystem& windowSystem_;
    OsFunctions& os_;
    const Clock& clock_;
    Desktop& desktop_;
    int loaded_ = 0;
    int eventDepth_ = 0;
    bool ended_ = false;
    std::vector<std::unique_ptr<WindowPeer>> discardedPeers_;
    std::vector<std::unique_ptr<Control>> discardedControls_;
};

}  // namespace brindle
