// Prints what the program's windows show, read from outside as an assistive tool reads it: one
// line per control of every visible window of Brindle.exe, "window title<TAB>control text".
// Brindle.exe's end-to-end tests run it in the same Wine session as the program.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    // WM_GETTEXT, unlike GetWindowText, reaches the controls of another process.
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                        2000, nullptr);
    return buffer;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM title) {
    std::printf("%ls\t%ls\n", reinterpret_cast<const wchar_t*>(title), Text(control).c_str());
    return TRUE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (std::wstring(className) == L"BrindleWindow" && IsWindowVisible(window)) {
        const std::wstring title = Text(window);
        EnumChildWindows(window, &PrintControl, reinterpret_cast<LPARAM>(title.c_str()));
    }
    return TRUE;
}

}  // namespace

int main() {
    EnumWindows(&PrintWindow, 0);
    return 0;
}
