#include "win32_window_system.h"

#include <commctrl.h>

#include <optional>
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

// The one message loop, for Run and for the events processed under a handler. A key meant for
// one of the program's windows goes to the dialog keys first: Tab and Shift+Tab move through the
// controls, Return presses the focused button.
std::optional<int> Win32WindowSystem::Deliver(Waiting waiting) const {
    MSG message{};
    for (;;) {
        if (waiting == Waiting::UntilQuit) {
            if (GetMessageW(&message, nullptr, 0, 0) == -1) {
                return 1;
            }
        } else if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            return std::nullopt;
        }
        if (message.message == WM_QUIT) {
            return static_cast<int>(message.wParam);
        }
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            HWND window = GetAncestor(message.hwnd, GA_ROOT);
            if (window != nullptr && GetClassLongPtrW(window, GCW_ATOM) == windowClass_ &&
                IsDialogMessageW(window, &message)) {
                continue;
            }
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32WindowSystem::ProcessPendingEvents() {
    if (const std::optional<int> status = Deliver(Waiting::UntilEmpty)) {
        // The outer loop must still see the end of the program.
        PostQuitMessage(*status);
    }
}

int Win32WindowSystem::Run() {
    return *Deliver(Waiting::UntilQuit);
}

void Win32WindowSystem::Quit() {
    PostQuitMessage(0);
}

void Win32WindowSystem::MsgBox(const std::string& prompt) {
    MessageBoxW(GetActiveWindow(), win32::Widen(prompt).c_str(), L"Brindle",
                MB_OK | MB_ICONWARNING);
}

}  // namespace brindle
