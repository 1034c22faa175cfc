#include "win32_os_functions.h"

#include <string>
#include <utility>

namespace brindle {

namespace {

// The system's values of the sound flags the program passes.
constexpr std::int32_t kSoundAsync = 0x1;
constexpr std::int32_t kSoundFromFile = 0x20000;

// A name in the program's code page, as the narrow entry would take it.
std::wstring Widen(const std::string& name) {
    const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

HWND AsWindow(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}

bool IsFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::wstring SoundBesideProgram(const std::string& name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) {
        return {};
    }
    const std::wstring wide = Widen(name);
    if (wide.empty() || IsFile(wide.c_str())) {
        return {};
    }
    std::wstring program(MAX_PATH, L'\0');
    DWORD used = 0;
    for (;;) {
        used = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (used == 0 || used < program.size()) {
            break;
        }
        program.resize(program.size() * 2);
    }
    program.resize(used);
    const std::size_t folderEnd = program.find_last_of(L"\\/");
    if (folderEnd == std::wstring::npos) {
        return {};
    }
    std::wstring beside = program.substr(0, folderEnd + 1) + wide;
    return IsFile(beside.c_str()) ? beside : std::wstring{};
}

std::int32_t Win32OsFunctions::SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter,
                                            std::int32_t x, std::int32_t y, std::int32_t cx,
                                            std::int32_t cy, std::int32_t wFlags) {
    // The insert-after value is a handle or one of the negative special values; it widens with
    // its sign, as the system expects HWND_TOPMOST to arrive.
    HWND insertAfter = reinterpret_cast<HWND>(static_cast<INT_PTR>(hWndInsertAfter));
    return ::SetWindowPos(AsWindow(hWnd), insertAfter, x, y, cx, cy, static_cast<UINT>(wFlags));
}

std::int32_t Win32OsFunctions::ReleaseCapture() {
    return ::ReleaseCapture();
}

std::int32_t Win32OsFunctions::SendMessageA(WindowHandle hWnd, std::int32_t wMsg,
                                            std::int32_t wParam, std::int32_t& lParam) {
    // The declaration passes lParam by reference, so the message carries its address.
    const LRESULT result = ::SendMessageA(AsWindow(hWnd), static_cast<UINT>(wMsg),
                                          static_cast<WPARAM>(static_cast<std::uint32_t>(wParam)),
                                          reinterpret_cast<LPARAM>(&lParam));
    return static_cast<std::int32_t>(result);
}

void Win32OsFunctions::Sleep(std::int32_t dwMilliseconds) {
    ::Sleep(static_cast<DWORD>(dwMilliseconds));
}

std::int32_t Win32OsFunctions::PlaySoundA(const std::string& lpszName, std::intptr_t,
                                          std::int32_t dwFlags) {
    // Only files are played (the program has no sound resources or aliases), and never the
    // system's default sound. The bare name is played from the working directory when it has
    // that file; only when it has none does the copy beside the program stand in.
    if ((dwFlags & kSoundFromFile) == 0) {
        return 0;
    }
    std::wstring path = SoundBesideProgram(lpszName);
    if (path.empty()) {
        path = Widen(lpszName);
    }
    if (path.empty()) {
        return 0;
    }
    if ((dwFlags & kSoundAsync) != 0) {
        chime_.PlayAsync(std::move(path));
        return 1;
    }
    return chime_.PlayHere(path) ? 1 : 0;
}

}  // namespace brindle
