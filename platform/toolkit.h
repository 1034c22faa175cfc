#pragma once

#include <memory>

#include "desktop.h"
#include "os_functions.h"
#include "runtime/window_system.h"

namespace brindle {

// The desktop toolkit behind the program's windows, declared functions and desktop services, made
// by the backend linked into the program (platform/qt or platform/win32, each defining it in its
// own way). There is one per process, and it outlives every program built on it. No type of the
// toolkit is visible here, so the program's entry points include no toolkit header.
class Toolkit {
public:
    // The arguments are the toolkit's own: the program reads its options before.
    Toolkit(int& argc, char** argv);
    ~Toolkit();
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    WindowSystem& GetWindowSystem() const { return *windows_; }
    OsFunctions& GetOsFunctions() const { return *os_; }
    Desktop& GetDesktop() const { return *desktop_; }

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    WindowSystem* windows_;
    OsFunctions* os_;
    Desktop* desktop_;
};

}  // namespace brindle
