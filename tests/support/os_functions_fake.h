#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clock_fake.h"
#include "os_functions.h"

namespace brindle {

// One call of a declared function with its arguments in order; text is PlaySoundA's sound name.
struct DeclaredCall {
    std::string function;
    std::vector<std::int64_t> arguments;
    std::string text;
};

// Records every declared call. Sleep advances the fake clock, so an alert's pauses take fake
// time, and runs onSleep, through which a test acts during a pause.
class OsFunctionsFake final : public OsFunctions {
public:
    explicit OsFunctionsFake(ClockFake& clock) : clock_(clock) {}

    std::int32_t SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter, std::int32_t x,
                              std::int32_t y, std::int32_t cx, std::int32_t cy,
                              std::int32_t wFlags) override {
        return Record({"SetWindowPos", {hWnd, hWndInsertAfter, x, y, cx, cy, wFlags}, {}});
    }
    std::int32_t ReleaseCapture() override { return Record({"ReleaseCapture", {}, {}}); }
    std::int32_t SendMessageA(WindowHandle hWnd, std::int32_t wMsg, std::int32_t wParam,
                              std::int32_t& lParam) override {
        return Record({"SendMessageA", {hWnd, wMsg, wParam, lParam}, {}});
    }
    void Sleep(std::int32_t dwMilliseconds) override {
        Record({"Sleep", {dwMilliseconds}, {}});
        clock_.Advance(dwMilliseconds);
        if (onSleep) {
            onSleep(dwMilliseconds);
        }
    }
    std::int32_t PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                            std::int32_t dwFlags) override {
        return Record({"PlaySoundA", {hModule, dwFlags}, lpszName});
    }

    std::vector<DeclaredCall> calls;
    std::function<void(std::int32_t milliseconds)> onSleep;

    std::vector<DeclaredCall> CallsOf(const std::string& function) const {
        std::vector<DeclaredCall> result;
        for (const DeclaredCall& call : calls) {
            if (call.function == function) {
                result.push_back(call);
            }
        }
        return result;
    }
    void Clear() { calls.clear(); }

private:
    std::int32_t Record(DeclaredCall call) {
        calls.push_back(std::move(call));
        return 1;
    }

    ClockFake& clock_;
};

}  // namespace brindle
