#pragma once

#include <memory>
#include <string>

#include "os_functions.h"
#include "runtime/control.h"
#include "runtime/layout.h"

namespace brindle {

class Form;

// A loaded window's counterpart in a real toolkit. It builds a native widget for each control a
// person can see and attaches it to the control, which then tells it every change; the user's
// actions go back through the controls' Raise and Accept members. It computes nothing of the
// program's own logic.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;

    virtual void VisibilityChanged(Visibility visibility) = 0;
    virtual WindowHandle Handle() const = 0;
    // The window's outer rectangle in twips, in screen coordinates.
    virtual TwipsRect Bounds() const = 0;
    // Shows the entries under menu as a popup at the pointer and returns when it has closed,
    // after the chosen entry's click has run.
    virtual void PopupMenu(MenuItem& menu) = 0;
};

// The toolkit as the runtime needs it.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Called once the form's controls exist; the peer builds its native widgets from them.
    virtual std::unique_ptr<WindowPeer> CreatePeer(Form& form) = 0;
    // Dispatches every event already waiting, then returns.
    virtual void ProcessPendingEvents() = 0;
    // Runs the event loop until Quit; returns the program's exit status.
    virtual int Run() = 0;
    virtual void Quit() = 0;
    // Tells the person something in a modal message box and returns once it is closed.
    virtual void MsgBox(const std::string& prompt) = 0;
};

}  // namespace brindle
