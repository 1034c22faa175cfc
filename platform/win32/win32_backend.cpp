#include "toolkit.h"

#include "win32_desktop.h"
#include "win32_os_functions.h"
#include "win32_window_system.h"

namespace brindle {

// The Windows toolkit takes no arguments: the program reads its own command line.
struct Toolkit::Parts {
    Win32WindowSystem windows;
    Win32OsFunctions os;
    Win32Desktop desktop;
};

Toolkit::Toolkit(int& /*argc*/, char** /*argv*/)
    : parts_(std::make_unique<Parts>()),
      windows_(&parts_->windows),
      os_(&parts_->os),
      desktop_(&parts_->desktop) {}

Toolkit::~Toolkit() = default;

}  // namespace brindle
