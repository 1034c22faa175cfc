#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop.h"

namespace brindle {

namespace win32 {
class SessionLockWatch;
}

// The Windows desktop as the program asks it about the person: settings under
// HKEY_CURRENT_USER\Software\Brindle, the Run value that starts it at log-in, and the busy check.
// Between warnings it runs nothing: a check lives on two short-lived threads, and the session's
// lock is kept by a message-only window that only the session's changes wake.
class Win32Desktop final : public Desktop {
public:
    Win32Desktop();
    // Waits for the checks still running (each answers within its deadline), so that no answer
    // comes after the program has let go of what it plays the chime with.
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    std::optional<bool> ReadFlag(const std::string& name) override;
    std::optional<SettingError> WriteFlag(const std::string& name, bool value) override;
    void WhenBusyKnown(std::function<void(BusyReasons)> then) override;
    bool StartsAtLogIn() override;
    std::optional<SettingError> WriteLogInStart(const std::vector<std::string>& options,
                                                const std::string& comment) override;
    std::optional<SettingError> RemoveLogInStart() override;

private:
    std::unique_ptr<win32::SessionLockWatch> sessionLock_;
    std::wstring ownConsentEntry_;
    // The threads that answer the checks not yet known to have ended.
    std::vector<HANDLE> answering_;
};

}  // namespace brindle
