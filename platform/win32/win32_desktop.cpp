#include "win32_desktop.h"

#include <windows.h>

#include "win32_support.h"

namespace brindle {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Brindle";

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
        return SettingError{"HKEY_CURRENT_USER\\Software\\Brindle", win32::SystemErrorText(status)};
    }
    return std::nullopt;
}

void Win32Desktop::WhenBusyKnown(std::function<void(BusyReasons)> then) {
    then(BusyReasons{});
}

}  // namespace brindle
