// Usage: window-texts.exe TITLE, or window-texts.exe --place TITLE
// Prints the texts of the controls a person sees in the visible window so titled (shown, at least
// partly inside it), one a line, as an assistive tool reads them from outside; or, with --place,
// where Wine has the window's top-left corner, by which it routes the mouse. Exits 1 without such
// a window. The tests run it in the program's Wine session.
#include <windows.h>

#include <cstdio>
#include <cwchar>

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
    const bool place = argc == 3 && std::wcscmp(argv[1], L"--place") == 0;
    HWND window = argc == 2 || place ? FindWindowW(nullptr, argv[argc - 1]) : nullptr;
    if (window == nullptr || !IsWindowVisible(window)) {
        std::fprintf(stderr, "usage: window-texts.exe [--place] TITLE of a visible window\n");
        return 1;
    }
    if (place) {
        RECT outer = {};
        GetWindowRect(window, &outer);
        std::printf("%ld %ld\n", outer.left, outer.top);
        return 0;
    }
    EnumChildWindows(window, &PrintVisibleText, reinterpret_cast<LPARAM>(window));
    return 0;
}
