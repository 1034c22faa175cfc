#pragma once

#include <memory>
#include <vector>

#include "runtime/control.h"
#include "tick_alignment.h"
#include "win32_tick_timer.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

// A window's timer controls as native timers on that window: each ticks as WM_TIMER or, aligned
// to the wall clock, as the shot's message, with the timer's id.
class Win32WindowTimers {
public:
    Win32WindowTimers(const TickSettings& ticks, UINT tickMessage)
        : ticks_(ticks), tickMessage_(tickMessage) {}

    void Add(Timer& timer, UINT id) {
        slots_.push_back(Slot{&timer, id, TickAim(ticks_), nullptr});
    }
    void SetWindow(HWND window) { window_ = window; }
    // Arms or stops the timer as its control now says.
    void Write(const Control& timer);
    void StopAll();
    // One tick of the native timer with that id; false when the id is no timer's.
    bool Tick(UINT id);

private:
    struct Slot {
        Timer* timer = nullptr;
        UINT id = 0;
        // Where the aligned timer's shots are aimed.
        TickAim aim;
        // An aligned timer's shot, made when it is first armed.
        std::unique_ptr<Win32PreciseTimer> shot;
    };

    void Arm(Slot& slot);
    void Stop(Slot& slot);

    const TickSettings& ticks_;
    UINT tickMessage_;
    HWND window_ = nullptr;
    std::vector<Slot> slots_;
};

}  // namespace brindle
