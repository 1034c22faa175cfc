#pragma once

#include <memory>

#include "desktop.h"
#include "os_functions.h"
#include "runtime/window_system.h"

namespace brindle {

// The native Windows backend: the window system on the thread's message queue and the real
// declared functions of the system's DLLs. No Windows type is visible here, so the program's
// entry point needs no Windows header.
class Win32Backend {
public:
    Win32Backend();
    ~Win32Backend();
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    WindowSystem& GetWindowSystem();
    OsFunctions& GetOsFunctions();
    Desktop& GetDesktop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace brindle
