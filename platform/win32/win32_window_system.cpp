#include "win32_window_system.h"

#include <commctrl.h>

#include <utility>

#include "win32_support.h"
#include "win32_window_peer.h"

namespace brindle {

Win32WindowSystem::Win32WindowSystem(TickSettings ticks)
    : ticks_(std::move(ticks)), instance_(GetModuleHandleW(nullptr)) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES;
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32WindowPeer::WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"BrindleWindow";
    windowClass_ = RegisterClassExW(&windowClass);
}

Win32WindowSystem::~Win32WindowSystem() {
    if (windowClass_ != 0) {
        UnregisterClassW(MAKEINTATOM(windowClass_), instance_);
    }
}

std::unique_ptr<WindowPeer> Win32WindowSystem::CreatePeer(Form& form) {
    return std::make_unique<Win32WindowPeer>(*this, form);
}

bool Win32WindowSystem::HandleDialogKey(MSG& message) const {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    HWND window = GetAncestor(message.hwnd, GA_ROOT);
    if (window == nullptr || GetClassLongPtrW(window, GCW_ATOM) != windowClass_) {
        return false;
    }
    // The dialog keys: Tab and Shift+Tab move through the controls, Return presses the focused
    // button.
    return IsDialogMessageW(window, &message) != FALSE;
}

void Win32WindowSystem::Dispatch(MSG& message) const {
    if (HandleDialogKey(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32WindowSystem::ProcessPendingEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The outer loop must still see the end of the program.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Dispatch(message);
    }
}

int Win32WindowSystem::Run() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 1;
        }
        Dispatch(message);
    }
}

void Win32WindowSystem::Quit() {
    PostQuitMessage(0);
}

void Win32WindowSystem::MsgBox(const std::string& prompt) {
    MessageBoxW(GetActiveWindow(), win32::Widen(prompt).c_str(), L"Brindle",
                MB_OK | MB_ICONWARNING);
}

}  // namespace brindle
