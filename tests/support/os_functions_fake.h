#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clock_fake.h"
#include "os_functions.h"

namespace brindle {

// One call of a declared function, with its arguments in order.
struct DeclaredCall {
    std::string function;
    std::vector<std::int64_t> arguments;
    std::string text;  // the sound name of PlaySoundA
};

// Records every declared call. Sleep advances the fake clock, so an alert's pauses take fake
// time; a test can act during a pause through onSleep.
class OsFunctionsFake final : public OsFunctions {
public:
    explicit OsFunctionsFake(ClockFake& clock) : clock_(clock) {}

    std::int32_t SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter, std::int32_t x,
                              std::int32_t y, std::int32_t cx, std::int32_t cy,
                              std::int32_t wFlags) override;
    std::int32_t ReleaseCapture() override;
    std::int32_t SendMessageA(WindowHandle hWnd, std::int32_t wMsg, std::int32_t wParam,
                              std::int32_t& lParam) override;
    void Sleep(std::int32_t dwMilliseconds) override;
    std::int32_t PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                            std::int32_t dwFlags) override;

    std::vector<DeclaredCall> calls;
    std::function<void(std::int32_t milliseconds)> onSleep;
    // Runs right after each call is recorded, so a test can place the calls among the window
    // system's records.
    std::function<void(const DeclaredCall& call)> onCall;

    // The calls of one function, in order.
    std::vector<DeclaredCall> CallsOf(const std::string& function) const;
    void Clear() { calls.clear(); }

private:
    void Record(DeclaredCall call);

    ClockFake& clock_;
};

}  // namespace brindle
