// Prints what a screen reader reads of a visible window of another program: the texts of its
// labels and buttons, one a line, as the window system gives them to anyone who asks.
// Usage: window_texts.exe TITLE. Exits 1 when no visible window has that title.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK PrintText(HWND child, LPARAM) {
    wchar_t text[512] = L"";
    GetWindowTextW(child, text, 512);
    if (IsWindowVisible(child) && text[0] != L'\0') {
        char utf8[2048] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_texts.exe TITLE\n");
        return 2;
    }
    HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr || !IsWindowVisible(window)) {
        std::fprintf(stderr, "no visible window titled %s\n", argv[1]);
        return 1;
    }
    EnumChildWindows(window, PrintText, 0);
    return 0;
}
