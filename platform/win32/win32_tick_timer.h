#pragma once

#include <cstdint>
#include <functional>

#include <windows.h>

namespace brindle {

// Where a timer control's ticks fall. The free-running kind only exists so the benchmark can
// compare against it.
enum class TickAlignment { WallClock, FreeRunning };

// How long after a boundary of the wall clock an aligned tick lands, so that a clock read in its
// handler already shows the new second even when the timer fires to the millisecond.
inline constexpr std::int64_t kTickSlackMs = 1;

// The wait from wallMs (milliseconds since 1970) until just after the next multiple of
// intervalMs, counted on the wall clock. A time exactly on a boundary waits for the next one. A
// period of zero or less waits for nothing.
std::int64_t DelayToNextTick(std::int64_t wallMs, std::int64_t intervalMs);

// How the backend's timers place their ticks.
struct TickSettings {
    TickAlignment alignment = TickAlignment::WallClock;
    // Milliseconds since 1970 on the wall clock; tests put a fake in its place.
    std::function<std::int64_t()> wallClockMs;

    // Aligned to the real wall clock (GetSystemTimePreciseAsFileTime). Only a build made for the
    // benchmark's comparison (BRINDLE_FREE_RUNNING_TICKS defined) keeps the old free-running timer;
    // the program takes no settings from its environment.
    static TickSettings OfThisBuild();
};

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

    // Posts the message once, delayMs from now, replacing a shot not yet fired.
    void Start(std::int64_t delayMs);
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
