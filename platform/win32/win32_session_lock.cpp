#include "win32_busy_sources.h"

namespace brindle::win32 {

namespace {

using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);

// NOTIFY_FOR_THIS_SESSION, from the session library's header, which the program does not link.
constexpr DWORD kThisSession = 0;

template <class Function>
Function Entry(HMODULE module, const char* name) {
    // The detour through the generic function type keeps the cast well defined.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

SessionLockWatch::SessionLockWatch() {
    // The session library is loaded from the system directory only, and only if there is one: a
    // Wine prefix may lack it, and the program must start all the same.
    sessions_ = LoadLibraryExW(L"wtsapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const auto registerWindow = sessions_ != nullptr
                                    ? Entry<RegisterFn>(sessions_, "WTSRegisterSessionNotification")
                                    : nullptr;
    if (registerWindow == nullptr) {
        return;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &SessionLockWatch::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BrindleSessionWatch";
    windowClass_ = RegisterClassExW(&windowClass);
    // A message-only window: never shown, and given no broadcasts, so it wakes only when the
    // session changes.
    if (windowClass_ != 0) {
        window_ = CreateWindowExW(0, MAKEINTATOM(windowClass_), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, instance, this);
    }
    if (window_ != nullptr && !registerWindow(window_, kThisSession)) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

SessionLockWatch::~SessionLockWatch() {
    if (window_ != nullptr) {
        if (const auto unregisterWindow =
                Entry<UnregisterFn>(sessions_, "WTSUnRegisterSessionNotification")) {
            unregisterWindow(window_);
        }
        DestroyWindow(window_);
    }
    if (windowClass_ != 0) {
        UnregisterClassW(MAKEINTATOM(windowClass_), GetModuleHandleW(nullptr));
    }
    if (sessions_ != nullptr) {
        FreeLibrary(sessions_);
    }
}

LRESULT CALLBACK SessionLockWatch::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_WTSSESSION_CHANGE) {
        auto* watch = reinterpret_cast<SessionLockWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (watch != nullptr && wParam == WTS_SESSION_LOCK) {
            watch->locked_ = true;
        } else if (watch != nullptr && wParam == WTS_SESSION_UNLOCK) {
            watch->locked_ = false;
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace brindle::win32
