// Usage: window-texts.exe TITLE
// Prints the texts of the controls a person sees in the visible window so titled (shown, and at
// least partly inside the window), one a line, read from
// outside as an assistive tool reads them; exits 1 when no visible window has that title. The
// tests run it in the same Wine session as the program.
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK PrintVisibleText(HWND control, LPARAM window) {
    RECT inside = {};
    RECT windowRect = {};
    RECT controlRect = {};
    GetWindowRect(reinterpret_cast<HWND>(window), &windowRect);
    GetWindowRect(control, &controlRect);
    wchar_t text[512] = {};
    // WM_GETTEXT, unlike GetWindowText, reaches the controls of another process.
    SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        nullptr);
    char utf8[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    if (IsWindowVisible(control) && IntersectRect(&inside, &windowRect, &controlRect) &&
        utf8[0] != '\0') {
        std::printf("%s\n", utf8);
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    HWND window = argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr;
    if (window == nullptr || !IsWindowVisible(window)) {
        std::fprintf(stderr, "usage: window-texts.exe TITLE of a visible window\n");
        return 1;
    }
    EnumChildWindows(window, &PrintVisibleText, reinterpret_cast<LPARAM>(window));
    return 0;
}
