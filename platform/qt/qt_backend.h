#pragma once

#include <memory>

#include "desktop.h"
#include "os_functions.h"
#include "runtime/window_system.h"

namespace brindle {

// The Qt desktop toolkit behind the program's windows and declared functions. It owns the
// application object, so there is one per process and it outlives every program built on it.
class QtBackend {
public:
    QtBackend(int& argc, char** argv);
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    WindowSystem& GetWindowSystem();
    OsFunctions& GetOsFunctions();
    Desktop& GetDesktop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace brindle
