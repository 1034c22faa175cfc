#include "win32_command_line.h"

#include <windows.h>

#include <shellapi.h>

namespace brindle {

namespace {

std::string ToUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::wstring ToUtf16(const std::string& text) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        size);
    return result;
}

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
        const std::wstring wide = ToUtf16(text);
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
        arguments.push_back(ToUtf8(words[i]));
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
    MessageBoxW(nullptr, ToUtf16(early.text).c_str(), L"Brindle",
                early.stream == OutputStream::Output ? MB_ICONINFORMATION : MB_ICONERROR);
}

}  // namespace brindle
