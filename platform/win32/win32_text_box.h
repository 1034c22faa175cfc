#pragma once

#include "win32_control_peer.h"

namespace brindle {

// A single-line edit field; one that refuses the focus can be neither typed into nor clicked.
class Win32TextBox final : public Win32ControlPeer {
public:
    Win32TextBox(TextBox& text, UINT id) : Win32ControlPeer(text, id), text_(text) {}

    void Create(HWND parent, HINSTANCE instance) override;
    void Apply(Property property) override;

private:
    TextBox& text_;
};

}  // namespace brindle
