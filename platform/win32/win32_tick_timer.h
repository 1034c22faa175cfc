#pragma once

#include <cstdint>
#include <functional>

#include <windows.h>

#include "tick_alignment.h"

namespace brindle {

// Nanoseconds since 1970 on the system's precise wall clock, as aligned ticks read it.
std::int64_t PreciseWallClockNs();

// A one-shot timer precise to the millisecond that reports by posting a message to a window, so
// its tick is dispatched by every message loop, nested ones included. SetTimer fires only on the
// system's clock interrupt, every 15.6 ms by default, and raising that rate (timeBeginPeriod)
// would load the multimedia library, which the program binds only at its first sound. A
// high-resolution waitable timer (Windows 10 1803 and later) is precise without either; a thread
// of its own waits on it and posts the message. Where that kind is missing, a plain waitable timer
// is used, which Wine keeps to the millisecond and older Windows to its clock interrupt.
class Win32PreciseTimer {
public:
    Win32PreciseTimer(HWND window, UINT message, WPARAM id);
    ~Win32PreciseTimer();
    Win32PreciseTimer(const Win32PreciseTimer&) = delete;
    Win32PreciseTimer& operator=(const Win32PreciseTimer&) = delete;

    // Posts the message once, delayNs from now, replacing a shot not yet fired.
    void Start(std::int64_t delayNs);
    void Stop();

private:
    static DWORD WINAPI Wait(void* self);

    HWND window_;
    UINT message_;
    WPARAM id_;
    HANDLE timer_ = nullptr;
    HANDLE quit_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace brindle
