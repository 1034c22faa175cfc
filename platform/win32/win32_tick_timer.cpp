#include "win32_tick_timer.h"

#include "tick_alignment.h"

#include <algorithm>

namespace brindle {

namespace {

// Not yet in every SDK's headers.
constexpr DWORD kHighResolutionTimer = 0x00000002;
// A day: longer waits are no tick of any timer here, and the due time cannot overflow.
constexpr std::int64_t kLongestDelayNs = 86'400'000'000'000;

// FILETIME counts 100 ns steps from 1601; this many of them lie before 1970.
constexpr std::int64_t kFileTimeAt1970 = 116444736000000000;

}  // namespace

std::int64_t PreciseWallClockNs() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::int64_t steps =
        (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (steps - kFileTimeAt1970) * 100;
}

Win32PreciseTimer::Win32PreciseTimer(HWND window, UINT message, WPARAM id)
    : window_(window), message_(message), id_(id) {
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
    if (timer_ == nullptr) {
        timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
    quit_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (timer_ != nullptr && quit_ != nullptr) {
        thread_ = CreateThread(nullptr, 0, &Win32PreciseTimer::Wait, this, 0, nullptr);
    }
}

Win32PreciseTimer::~Win32PreciseTimer() {
    if (thread_ != nullptr) {
        SetEvent(quit_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (quit_ != nullptr) {
        CloseHandle(quit_);
    }
    if (timer_ != nullptr) {
        CloseHandle(timer_);
    }
}

void Win32PreciseTimer::Start(std::int64_t delayNs) {
    if (timer_ == nullptr) {
        return;
    }
    // A negative due time is relative, in steps of 100 ns.
    LARGE_INTEGER due{};
    due.QuadPart = -std::clamp<std::int64_t>(delayNs, 0, kLongestDelayNs) / 100;
    SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
}

void Win32PreciseTimer::Stop() {
    if (timer_ != nullptr) {
        CancelWaitableTimer(timer_);
    }
}

DWORD WINAPI Win32PreciseTimer::Wait(void* self) {
    auto& timer = *static_cast<Win32PreciseTimer*>(self);
    const HANDLE handles[] = {timer.quit_, timer.timer_};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        PostMessageW(timer.window_, timer.message_, timer.id_, 0);
    }
    return 0;
}

}  // namespace brindle
