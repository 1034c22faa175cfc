#include "win32_command_line.h"

#include <windows.h>

#include <shellapi.h>

#include "win32_support.h"

namespace brindle {

namespace {

// Writes to a console as wide text, so that no code page garbles it, and to a file or pipe as
// UTF-8; false when the handle leads nowhere.
bool WriteTo(HANDLE handle, const std::string& text) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        GetFileType(handle) == FILE_TYPE_UNKNOWN) {
        return false;
    }
    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = win32::Widen(text);
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                             nullptr) != 0;
    }
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
}

}  // namespace

// main's arguments are in the ANSI code page, which cannot hold every character; the wide
// command line can.
std::vector<std::string> CommandLineArguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i) {
        arguments.push_back(win32::Narrow(words[i]));
    }
    LocalFree(words);
    return arguments;
}

// A windowed program has no console of its own: the text goes where the starter redirected the
// stream, else to the console of the command prompt it was started from, else into a message
// box.
void Tell(const EarlyExit& early) {
    const DWORD stream =
        early.stream == OutputStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    if (WriteTo(GetStdHandle(stream), early.text)) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        const bool written = WriteTo(console, early.text);
        if (console != INVALID_HANDLE_VALUE) {
            CloseHandle(console);
        }
        if (written) {
            return;
        }
    }
    MessageBoxW(nullptr, win32::Widen(early.text).c_str(), L"Brindle",
                early.stream == OutputStream::Output ? MB_ICONINFORMATION : MB_ICONERROR);
}

}  // namespace brindle
