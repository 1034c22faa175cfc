#pragma once

#include "win32_control_peer.h"

namespace brindle {

// A push button; a graphical one is drawn here, in its layout's colours.
class Win32Button final : public Win32ControlPeer {
public:
    Win32Button(CommandButton& button, UINT id) : Win32ControlPeer(button, id), button_(button) {}

    void Create(HWND parent, HINSTANCE instance) override;
    // Nothing of a button changes after it is made.
    void Apply(Property /*property*/) override {}
    void OnCommand(UINT code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    // A focused graphical button would not report Return as a click otherwise.
    void OnReturn() override { button_.SetValue(true); }

private:
    CommandButton& button_;
};

}  // namespace brindle
