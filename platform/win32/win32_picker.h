#pragma once

#include "win32_control_peer.h"

namespace brindle {

// A date-and-time picker limited to the control's range.
class Win32Picker final : public Win32ControlPeer {
public:
    Win32Picker(DatePicker& picker, UINT id) : Win32ControlPeer(picker, id), picker_(picker) {}

    void Create(HWND parent, HINSTANCE instance) override;
    void Apply(Property property) override;
    void OnNotify(const NMHDR& header) override;

private:
    DatePicker& picker_;
};

}  // namespace brindle
