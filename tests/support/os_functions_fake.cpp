#include "os_functions_fake.h"

namespace brindle {

std::int32_t OsFunctionsFake::SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter,
                                           std::int32_t x, std::int32_t y, std::int32_t cx,
                                           std::int32_t cy, std::int32_t wFlags) {
    calls.push_back({"SetWindowPos", {hWnd, hWndInsertAfter, x, y, cx, cy, wFlags}, {}});
    return 1;
}

std::int32_t OsFunctionsFake::ReleaseCapture() {
    calls.push_back({"ReleaseCapture", {}, {}});
    return 1;
}

std::int32_t OsFunctionsFake::SendMessageA(WindowHandle hWnd, std::int32_t wMsg,
                                           std::int32_t wParam, std::int32_t& lParam) {
    calls.push_back({"SendMessageA", {hWnd, wMsg, wParam, lParam}, {}});
    return 0;
}

void OsFunctionsFake::Sleep(std::int32_t dwMilliseconds) {
    calls.push_back({"Sleep", {dwMilliseconds}, {}});
    clock_.Advance(dwMilliseconds);
    if (onSleep) {
        onSleep(dwMilliseconds);
    }
}

std::int32_t OsFunctionsFake::PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                                         std::int32_t dwFlags) {
    calls.push_back({"PlaySoundA", {hModule, dwFlags}, lpszName});
    return 1;
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
