#include "win32_os_functions.h"

namespace brindle {

namespace {

using SetWindowPosFn = BOOL(WINAPI*)(HWND, HWND, int, int, int, int, UINT);
using ReleaseCaptureFn = BOOL(WINAPI*)();
using SendMessageFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
using SleepFn = void(WINAPI*)(DWORD);
using PlaySoundFn = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);

// Looks the entry up once. The library is loaded from the system directory only, so a DLL of the
// same name in the program's folder or the current directory can never be loaded in its place.
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

}  // namespace

std::int32_t Win32OsFunctions::SetWindowPos(WindowHandle hWnd, std::int32_t hWndInsertAfter,
                                            std::int32_t x, std::int32_t y, std::int32_t cx,
                                            std::int32_t cy, std::int32_t wFlags) {
    auto function = Bind<SetWindowPosFn>(setWindowPos_, L"user32.dll", "SetWindowPos");
    if (function == nullptr) {
        return 0;
    }
    // The insert-after value is a handle or one of the negative special values; it widens with
    // its sign, as the system expects HWND_TOPMOST to arrive.
    HWND insertAfter = reinterpret_cast<HWND>(static_cast<INT_PTR>(hWndInsertAfter));
    return function(AsWindow(hWnd), insertAfter, x, y, cx, cy, static_cast<UINT>(wFlags));
}

std::int32_t Win32OsFunctions::ReleaseCapture() {
    auto function = Bind<ReleaseCaptureFn>(releaseCapture_, L"user32.dll", "ReleaseCapture");
    if (function == nullptr) {
        return 0;
    }
    return function();
}

std::int32_t Win32OsFunctions::SendMessageA(WindowHandle hWnd, std::int32_t wMsg,
                                            std::int32_t wParam, std::int32_t& lParam) {
    auto function = Bind<SendMessageFn>(sendMessage_, L"user32.dll", "SendMessageA");
    if (function == nullptr) {
        return 0;
    }
    // The declaration passes lParam by reference, so the message carries its address.
    const LRESULT result = function(AsWindow(hWnd), static_cast<UINT>(wMsg),
                                    static_cast<WPARAM>(static_cast<std::uint32_t>(wParam)),
                                    reinterpret_cast<LPARAM>(&lParam));
    return static_cast<std::int32_t>(result);
}

void Win32OsFunctions::Sleep(std::int32_t dwMilliseconds) {
    auto function = Bind<SleepFn>(sleep_, L"kernel32.dll", "Sleep");
    if (function != nullptr) {
        function(static_cast<DWORD>(dwMilliseconds));
    }
}

std::int32_t Win32OsFunctions::PlaySoundA(const std::string& lpszName, std::intptr_t hModule,
                                          std::int32_t dwFlags) {
    auto function = Bind<PlaySoundFn>(playSound_, L"winmm.dll", "PlaySoundA");
    if (function == nullptr) {
        return 0;
    }
    return function(lpszName.c_str(), reinterpret_cast<HMODULE>(hModule),
                    static_cast<DWORD>(dwFlags));
}

}  // namespace brindle
