// The system's log-in entry: the value "Brindle" under the user's Run key, which Windows starts
// at every log-in.
#include <windows.h>

#include "win32_desktop.h"
#include "win32_support.h"

namespace brindle {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunKeyName[] =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValue[] = L"Brindle";

std::wstring ThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The program a command starts: the quoted path at its start, or its first word.
std::wstring CommandProgram(const std::wstring& command) {
    if (!command.empty() && command.front() == L'"') {
        const std::size_t end = command.find(L'"', 1);
        return end == std::wstring::npos ? std::wstring() : command.substr(1, end - 1);
    }
    return command.substr(0, command.find(L' '));
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : path;
}

}  // namespace

bool Win32Desktop::StartsAtLogIn() {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValue, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0) {
        return false;
    }
    std::wstring command(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValue, RRF_RT_REG_SZ, nullptr, command.data(),
                     &size) != ERROR_SUCCESS) {
        return false;
    }
    command.resize(wcslen(command.c_str()));
    const std::wstring program = FullPath(CommandProgram(command));
    const std::wstring self = FullPath(ThisProgram());
    // Paths on Windows are the same file whatever their letters' case.
    return CompareStringOrdinal(program.c_str(), -1, self.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::optional<SettingError> Win32Desktop::WriteLogInStart(const std::vector<std::string>& options,
                                                          const std::string&) {
    std::wstring command = L"\"" + ThisProgram() + L"\"";
    for (const std::string& option : options) {
        command += L" " + win32::Widen(option);
    }
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        // One value is written whole or not at all.
        status =
            RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        return SettingError{kRunKeyName, win32::SystemErrorText(status)};
    }
    return std::nullopt;
}

std::optional<SettingError> Win32Desktop::RemoveLogInStart() {
    const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kValue);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return SettingError{kRunKeyName, win32::SystemErrorText(status)};
    }
    return std::nullopt;
}

}  // namespace brindle
