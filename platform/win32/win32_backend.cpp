#include "win32_backend.h"

#include "win32_desktop.h"
#include "win32_os_functions.h"
#include "win32_window_system.h"

namespace brindle {

struct Win32Backend::Impl {
    Win32WindowSystem windows;
    Win32OsFunctions os;
    Win32Desktop desktop;
};

Win32Backend::Win32Backend() : impl_(std::make_unique<Impl>()) {}

Win32Backend::~Win32Backend() = default;

WindowSystem& Win32Backend::GetWindowSystem() {
    return impl_->windows;
}

OsFunctions& Win32Backend::GetOsFunctions() {
    return impl_->os;
}

Desktop& Win32Backend::GetDesktop() {
    return impl_->desktop;
}

}  // namespace brindle
