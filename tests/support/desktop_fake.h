#pragma once

#include <map>
#include <optional>
#include <string>

#include "desktop.h"

namespace brindle {

// A desktop whose saved settings are a map and whose person is as busy as the test says. It
// answers the busy check at once, on the caller's thread.
class DesktopFake final : public Desktop {
public:
    std::optional<bool> ReadFlag(const std::string& name) override {
        const auto found = saved.find(name);
        if (unreadable || found == saved.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    std::optional<SettingError> WriteFlag(const std::string& name, bool value) override {
        if (writeError) {
            return writeError;
        }
        saved[name] = value;
        return std::nullopt;
    }
    void WhenBusyKnown(std::function<void(BusyReasons)> then) override {
        ++busyChecks;
        then(busy);
    }

    std::map<std::string, bool> saved;
    bool unreadable = false;
    std::optional<SettingError> writeError;
    BusyReasons busy;
    int busyChecks = 0;
};

}  // namespace brindle
