#pragma once

#include "desktop.h"

namespace brindle {

// The Windows desktop as the program asks it about the person: settings under
// HKEY_CURRENT_USER\Software\Brindle, and the busy check. It keeps no window and runs nothing
// between warnings.
class Win32Desktop final : public Desktop {
public:
    std::optional<bool> ReadFlag(const std::string& name) override;
    std::optional<SettingError> WriteFlag(const std::string& name, bool value) override;
    void WhenBusyKnown(std::function<void(BusyReasons)> then) override;
};

}  // namespace brindle
