#pragma once

#include "win32_control_peer.h"

namespace brindle {

// A combo box: a drop-down list with an editable text field, in the layout's colours even while
// disabled.
class Win32List final : public Win32ControlPeer {
public:
    Win32List(ComboBox& combo, UINT id) : Win32ControlPeer(combo, id), combo_(combo) {}

    void Create(HWND parent, HINSTANCE instance) override;
    void Apply(Property property) override;
    void Detach() override;
    void OnCommand(UINT code) override;
    HBRUSH OnColour(HDC context) override;

protected:
    int ExtraHeightTwips() const override;

private:
    // Paints the text field of a disabled list in the list's own colours.
    static LRESULT CALLBACK TextFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR subclassId, DWORD_PTR self);
    void PaintDisabledField(HWND field);
    HWND TextField() const;
    void WriteItems();
    void WriteEnabled();

    ComboBox& combo_;
};

}  // namespace brindle
