#pragma once

#include "win32_control_peer.h"

namespace brindle {

// A label as a static control that takes mouse presses and paints in the label's colours.
class Win32Label final : public Win32ControlPeer {
public:
    Win32Label(Label& label, UINT id) : Win32ControlPeer(label, id), label_(label) {}

    void Create(HWND parent, HINSTANCE instance) override;
    void Apply(Property property) override;
    void Detach() override;
    HBRUSH OnColour(HDC context) override;

private:
    static LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR self);
    // Returns at once after raising: the program may have unloaded this window.
    void OnButton(MouseButton button, WPARAM wParam, LPARAM lParam);

    Label& label_;
};

}  // namespace brindle
