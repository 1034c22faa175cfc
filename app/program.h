#pragma once

#include "command_line.h"
#include "form1.h"
#include "frm_count_down.h"
#include "frm_menu.h"
#include "frm_ref.h"
#include "runtime/runtime.h"
#include "toolkit.h"

namespace brindle {

// The program: the runtime and the single instance of each of the four windows, reachable by
// name. Every backend's main builds one of these on its own toolkit.
class Program {
public:
    Program(WindowSystem& windowSystem, OsFunctions& os, const Clock& clock, Desktop& desktop);

    // Loads and shows the countdown window; nothing else is loaded at start.
    void Start();
    // Sets what the command line gives through the windows, as a user would: the reference time
    // in the dialog's picker, left loaded and hidden, then the lead, then the interval, whose
    // pick starts the countdown. Nothing given changes nothing.
    void Apply(const StartOptions& options);
    // Starts, applies the options, then runs the event loop until no window is loaded.
    int Run(const StartOptions& options);

    Runtime runtime;
    brindle::frmCountDown frmCountDown;
    brindle::Form1 Form1;
    brindle::frmMenu frmMenu;
    brindle::frmRef frmRef;
};

// Runs the program on the toolkit of the backend linked in, with the machine's clock, and returns
// its exit status: what both entry points do once the command line is read.
int RunOnToolkit(Toolkit& toolkit, const StartOptions& options);

}  // namespace brindle
