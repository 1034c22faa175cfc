#pragma once

#include <vector>

#include "runtime/control.h"

// Windows' headers define macros named like the declared functions' constants, so they come
// after the program's own headers.
#include <windows.h>

namespace brindle {

// A menu's entries as a native popup menu at the mouse pointer.
class Win32Menu {
public:
    explicit Win32Menu(MenuItem& menu);
    ~Win32Menu();
    Win32Menu(const Win32Menu&) = delete;
    Win32Menu& operator=(const Win32Menu&) = delete;

    // Shows the popup for owner until the user chooses or dismisses it, then runs the chosen
    // entry's click.
    void Track(HWND owner);

private:
    // Appends menu's entries to popup; command ids are positions in commands_, counted from 1.
    void AppendEntries(HMENU popup, const MenuItem& menu);

    HMENU popup_;
    std::vector<MenuItem*> commands_;
};

}  // namespace brindle
