#pragma once

#include "desktop.h"

namespace brindle {

// The Windows desktop as the program asks it about the person: settings under
// HKEY_CURRENT_USER\Software\Brindle, the Run value that starts it at log-in, and the busy check.
// It keeps no window and runs nothing between warnings.
class Win32Desktop final : public Desktop {
public:
    std::optional<bool> ReadFlag(const std::string& name) override;
    std::optional<SettingError> WriteFlag(const std::string& name, bool value) override;
    void WhenBusyKnown(std::function<void(BusyReasons)> then) override;
    bool StartsAtLogIn() override;
    std::optional<SettingError> WriteLogInStart(const std::vector<std::string>& options,
                                                const std::string& comment) override;
    std::optional<SettingError> RemoveLogInStart() override;
};

}  // namespace brindle
