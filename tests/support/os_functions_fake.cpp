#include "os_functions_fake.h"

#include <utility>

namespace brindle {

std::int32_t OsFunctionsFake::SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter,
                                           std::int32_t x, std::int32_t y, std::int32_t cx,
                                           std::int32_t cy, std::int32_t wFlags) {
    Record({"SetWindowPos", {hWnd, hWndInsertAfter, x, y, cx, cy, wFlags}, {}});
    return 1;
}

std::int32_t OsFunctionsFake::ReleaseCapture() {
    Record({"ReleaseCapture", {}, {}});
    return 1;
}

std::int32_t OsFunctionsFake::SendMessageA(WindowHandle hWnd, std::int32_t wMsg,
                                           std::int32_t wParam, std::int32_t& lParam) {
    Record({"SendMessageA", {hWnd, wMsg, wParam, lParam}, {}});
    return 0;
}

void OsFunctionsFake::Sleep(std::int32_t dwMilliseconds) {
    Record({"Sleep", {dwMilliseconds}, {}});
    clock_.Advance(dwMilliseconds);
    if (onSleep) {
        onSleep(dwMilliseconds);
    }
}

std::int32_t OsFunctionsFake::PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                                         std::int32_t dwFlags) {
    Record({"PlaySoundA", {hModule, dwFlags}, lpszName});
    return 1;
}

void OsFunctionsFake::Record(DeclaredCall call) {
    calls.push_back(std::move(call));
    if (onCall) {
        onCall(calls.back());
    }
}

std::vector<DeclaredCall> OsFunctionsFake::CallsOf(const std::string& function) const {
    std::vector<DeclaredCall> result;
    for (const DeclaredCall& call : calls) {
        if (call.function == function) {
            result.push_back(call);
        }
    }
    return result;
}

}  // namespace brindle
