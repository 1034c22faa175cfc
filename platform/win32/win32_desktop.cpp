#include "win32_desktop.h"

#include <windows.h>

#include "win32_support.h"

namespace brindle {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Brindle";

// The system's own words for an error code, without the line break it ends them with.
std::string ErrorText(LSTATUS status) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring said =
        length > 0 ? std::wstring(text, length) : L"error " + std::to_wstring(status);
    LocalFree(text);
    while (!said.empty() && (said.back() == L'\n' || said.back() == L'\r' || said.back() == L'.')) {
        said.pop_back();
    }
    return win32::Narrow(said);
}

}  // namespace

std::optional<bool> Win32Desktop::ReadFlag(const std::string& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, win32::Widen(name).c_str(), RRF_RT_REG_DWORD,
                     nullptr, &value, &size) != ERROR_SUCCESS ||
        value > 1) {
        return std::nullopt;
    }
    return value == 1;
}

std::optional<SettingError> Win32Desktop::WriteFlag(const std::string& name, bool value) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        const DWORD data = value ? 1 : 0;
        status = RegSetValueExW(key, win32::Widen(name).c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof data);
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        return SettingError{"HKEY_CURRENT_USER\\Software\\Brindle", ErrorText(status)};
    }
    return std::nullopt;
}

void Win32Desktop::WhenBusyKnown(std::function<void(BusyReasons)> then) {
    then(BusyReasons{});
}

}  // namespace brindle
