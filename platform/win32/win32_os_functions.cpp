#include "win32_os_functions.h"

#include <string>

namespace brindle {

namespace {

using PlaySoundFn = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
using PlaySoundWideFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

// SND_FILENAME, from the multimedia headers that the lean Windows headers leave out.
constexpr std::int32_t kSoundFromFile = 0x20000;

// Looks the entry up once. The sound library is loaded only when the first chime plays, not at
// start, and from the system directory only, so a DLL of the same name in the program's folder
// or the current directory can never be loaded in its place.
template <class Function>
Function Bind(FARPROC& slot, const wchar_t* library, const char* entry) {
    if (slot == nullptr) {
        HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module != nullptr) {
            slot = GetProcAddress(module, entry);
        }
    }
    // The detour through the generic function type keeps the cast well defined.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(slot));
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
    const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    if (IsFile(wide.c_str())) {
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

std::int32_t Win32OsFunctions::PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                                          std::int32_t dwFlags) {
    auto function = Bind<PlaySoundFn>(playSound_, L"winmm.dll", "PlaySoundA");
    if (function == nullptr) {
        return 0;
    }
    // The bare name goes to the system unchanged when the working directory has that file; only
    // when it has none does the copy beside the program stand in.
    if ((dwFlags & kSoundFromFile) != 0) {
        const std::wstring beside = SoundBesideProgram(lpszName);
        auto wide = Bind<PlaySoundWideFn>(playSoundWide_, L"winmm.dll", "PlaySoundW");
        if (!beside.empty() && wide != nullptr) {
            return wide(beside.c_str(), reinterpret_cast<HMODULE>(hModule),
                        static_cast<DWORD>(dwFlags));
        }
    }
    return function(lpszName.c_str(), reinterpret_cast<HMODULE>(hModule),
                    static_cast<DWORD>(dwFlags));
}

}  // namespace brindle
