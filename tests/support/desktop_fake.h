#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "desktop.h"

namespace brindle {

// A desktop whose saved settings are a map, whose log-in entry is its options, and whose person is
// as busy as the test says. It answers the busy check at once, on the caller's thread.
class DesktopFake final : public Desktop {
public:
    std::optional<bool> ReadFlag(const std::string& name) override {
        const auto found = saved.find(name);
        if (found == saved.end()) {
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
    bool StartsAtLogIn() override { return logInEntry.has_value(); }
    std::optional<SettingError> WriteLogInStart(const std::vector<std::string>& options,
                                                const std::string& comment) override {
        if (logInError) {
            return logInError;
        }
        logInEntry = options;
        logInComment = comment;
        ++logInWrites;
        return std::nullopt;
    }
    std::optional<SettingError> RemoveLogInStart() override {
        if (logInError) {
            return logInError;
        }
        logInEntry.reset();
        return std::nullopt;
    }

    std::map<std::string, bool> saved;
    std::optional<SettingError> writeError;
    BusyReasons busy;
    int busyChecks = 0;
    // The log-in entry's options, when there is one that starts the program.
    std::optional<std::vector<std::string>> logInEntry;
    std::string logInComment;
    std::optional<SettingError> logInError;
    int logInWrites = 0;
};

}  // namespace brindle
