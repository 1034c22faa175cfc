#pragma once

#include <memory>
#include <optional>

#include "runtime/window_system.h"
#include "win32_tick_timer.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

// The Windows toolkit: one native top-level window per loaded form, driven by the thread's
// message queue.
class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem()
        : Win32WindowSystem(TickSettings{kBuildTickAlignment, &PreciseWallClockNs}) {}
    explicit Win32WindowSystem(TickSettings ticks);
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    std::unique_ptr<WindowPeer> CreatePeer(Form& form) override;
    void ProcessPendingEvents() override;
    int Run() override;
    void Quit() override;
    void MsgBox(const std::string& prompt) override;

    HINSTANCE Instance() const { return instance_; }
    ATOM WindowClass() const { return windowClass_; }
    // How every window's timers place their ticks.
    const TickSettings& Ticks() const { return ticks_; }

private:
    enum class Waiting { UntilEmpty, UntilQuit };
    // Delivers the queue's messages until it is empty, or waiting for more until the program
    // quits; the exit status once the quit message is taken.
    std::optional<int> Deliver(Waiting waiting) const;

    TickSettings ticks_;
    HINSTANCE instance_;
    ATOM windowClass_ = 0;
};

}  // namespace brindle
