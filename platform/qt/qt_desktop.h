#pragma once

#include <memory>
#include <string>

#include "desktop.h"

namespace brindle {

// The Linux desktop as the program asks it about the person: settings in Qt's settings file in
// the user's config folder, the XDG autostart entry, and the busy check. It keeps no window and
// runs nothing between warnings: each check starts brindle-busy (busy/main.cpp), which asks the
// sources in a process of its own, and waits for it on a thread that ends with it.
class QtDesktop final : public Desktop {
public:
    QtDesktop();
    // Ends a check still under way and waits for its thread, so that none answers into a program
    // that is ending.
    ~QtDesktop() override;
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;

    std::optional<bool> ReadFlag(const std::string& name) override;
    std::optional<SettingError> WriteFlag(const std::string& name, bool value) override;
    void WhenBusyKnown(std::function<void(BusyReasons)> then) override;
    bool StartsAtLogIn() override;
    std::optional<SettingError> WriteLogInStart(const std::vector<std::string>& options,
                                                const std::string& comment) override;
    std::optional<SettingError> RemoveLogInStart() override;

    struct Threads;

private:
    std::shared_ptr<Threads> threads_;
    // brindle-busy, found as the sound player is; empty when there is none, and nobody is busy.
    const std::string helper_;
};

}  // namespace brindle
