// Prints what the program's windows show, read from outside as an assistive tool reads it.
// Usage: window_texts.exe [TITLE]. Without a title: one line per control of every visible window
// of Brindle.exe, "window title<TAB>control text". With a title: the texts of the controls of the
// visible window of that title (one of the program's or a message box), one a line; exits 1 when
// no visible window has that title. The tests run it in the same Wine session as the program.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Text(HWND window) {
    wchar_t buffer[512] = {};
    // WM_GETTEXT, unlike GetWindowText, reaches the controls of another process.
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 2000,
                        nullptr);
    return buffer;
}

std::string Utf8(const std::wstring& text) {
    char buffer[2048] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM title) {
    std::printf("%s\t%s\n", Utf8(reinterpret_cast<const wchar_t*>(title)).c_str(),
                Utf8(Text(control)).c_str());
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

BOOL CALLBACK PrintVisibleText(HWND control, LPARAM) {
    const std::wstring text = Text(control);
    if (IsWindowVisible(control) && !text.empty()) {
        std::printf("%s\n", Utf8(text).c_str());
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        EnumWindows(&PrintWindow, 0);
        return 0;
    }
    HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr || !IsWindowVisible(window)) {
        std::fprintf(stderr, "no visible window titled %s\n", Utf8(argv[1]).c_str());
        return 1;
    }
    EnumChildWindows(window, &PrintVisibleText, 0);
    return 0;
}
