#pragma once

#include "form1.h"
#include "frm_count_down.h"
#include "frm_menu.h"
#include "frm_ref.h"
#include "runtime/runtime.h"

namespace brindle {

// The program: the runtime and the single instance of each of the four windows, reachable by
// name. Every backend's main builds one of these on its own toolkit.
class Program {
public:
    Program(WindowSystem& windowSystem, OsFunctions& os, const Clock& clock);

    // Loads and shows the countdown window; nothing else is loaded at start.
    void Start();
    // Starts, then runs the event loop until no window is loaded.
    int Run();

    Runtime runtime;
    brindle::frmCountDown frmCountDown;
    brindle::Form1 Form1;
    brindle::frmMenu frmMenu;
    brindle::frmRef frmRef;
};

}  // namespace brindle
