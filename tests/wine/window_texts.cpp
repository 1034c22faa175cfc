// Usage: window-texts.exe TITLE
// Prints the texts of the controls a person sees in the visible window so titled (shown, at least
// partly inside it), one a line, as an assistive tool reads them from outside; exits 1 without
// such a window. The tests run it in the program's Wine session.
#include <windows.h>

#include <cstdio>

static BOOL CALLBACK PrintVisibleText(HWND control, LPARAM window) {
    RECT inside = {}, windowRect = {}, controlRect = {};
    wchar_t text[512] = {};
    // WM_GETTEXT, unlike GetWindowText, reaches the controls of another process.
    SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                        nullptr);
    if (IsWindowVisible(control) && GetWindowRect(reinterpret_cast<HWND>(window), &windowRect) &&
        GetWindowRect(control, &controlRect) && IntersectRect(&inside, &windowRect, &controlRect) &&
        text[0] != L'\0') {
        std::printf("%ls\n", text);
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    HWND window = argc == 2 ? FindWindowW(nullptr, argv[1]) : nullptr;
    if (window == nullptr || !IsWindowVisible(window)) {
        std::fprintf(stderr, "usage: window-texts.exe TITLE of a visible window\n");
        return 1;
    }
    EnumChildWindows(window, &PrintVisibleText, reinterpret_cast<LPARAM>(window));
    return 0;
}
