#pragma once

#include <string>

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
#include "runtime/runtime.h"
#include "window_system_fake.h"

namespace brindle {

inline constexpr Colour kDesignFore = 0x00112233;
inline constexpr Colour kDesignBack = 0x00445566;
inline const DateTime kDesignPickerValue = MakeDateTime(2001, 2, 3, 4, 5, 6);

inline ControlLayout MakeControl(std::string name, ControlKind kind, std::string caption,
                                 std::string menuParent = "") {
    ControlLayout c;
    c.name = std::move(name);
    c.kind = kind;
    c.caption = std::move(caption);
    c.menuParent = std::move(menuParent);
    return c;
}

inline WindowLayout MakeWindow(std::string name, float width, float height) {
    WindowLayout w;
    w.name = std::move(name);
    w.caption = w.name;
    w.clientArea = {0, 0, width, height};
    return w;
}

// A window with one control of every kind, each with a recognisable design value.
inline const WindowLayout& ProbeLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w = MakeWindow("frmProbe", 1500, 900);
        ControlLayout label = MakeControl("lblShow", ControlKind::Label, "design caption");
        label.foreColor = kDesignFore;
        label.backColor = kDesignBack;
        ControlLayout timer = MakeControl("tmrTick", ControlKind::Timer, "");
        timer.timerEnabled = false;
        timer.timerInterval = 250;
        ControlLayout picker = MakeControl("dtpWhen", ControlKind::DatePicker, "");
        picker.pickerValue = kDesignPickerValue;
        w.controls = {label,
                      MakeControl("cboPick", ControlKind::ComboBox, "design text"),
                      MakeControl("txtLead", ControlKind::TextBox, "20"),
                      MakeControl("cmdGo", ControlKind::CommandButton, "Go"),
                      timer,
                      picker};
        return w;
    }();
    return layout;
}

// A second plain window, so cascades and counts involve more than one.
inline const WindowLayout& SideLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w = MakeWindow("frmSide", 600, 300);
        w.controls = {MakeControl("lblSide", ControlKind::Label, "side")};
        return w;
    }();
    return layout;
}

// A never-shown window that carries a context menu with a separator among its entries.
inline const WindowLayout& CarrierLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w = MakeWindow("frmCarrier", 600, 300);
        w.controls = {MakeControl("mnuMenu", ControlKind::MenuItem, "Menu"),
                      MakeControl("mnuFirst", ControlKind::MenuItem, "First", "mnuMenu"),
                      MakeControl("mnuBar", ControlKind::MenuItem, "-", "mnuMenu"),
                      MakeControl("mnuLast", ControlKind::MenuItem, "Last", "mnuMenu")};
        return w;
    }();
    return layout;
}

// The runtime on the fakes with three small windows of the tests' own, none loaded yet.
struct RuntimeFixture {
    ClockFake clock;
    OsFunctionsFake os{clock};
    WindowSystemFake windows;
    Runtime runtime{windows, os, clock};
    FormFake probe{runtime, ProbeLayout()};
    FormFake side{runtime, SideLayout()};
    FormFake carrier{runtime, CarrierLayout()};

    Label& ProbeLabel() { return probe.Get<Label>("lblShow"); }
    CommandButton& ProbeButton() { return probe.Get<CommandButton>("cmdGo"); }

    // Connects the probe's button on every load, as a window's own code would.
    void OnProbeClick(std::function<void()> handler) {
        probe.onBind = [handler](FormFake& form) {
            form.Get<CommandButton>("cmdGo").OnClick(handler);
        };
    }
    // Connects the side window's label on every load.
    void OnSidePress(std::function<void()> handler) {
        side.onBind = [handler](FormFake& form) {
            form.Get<Label>("lblSide").OnMouseDown(
                [handler](MouseButton, std::int16_t, float, float) { handler(); });
        };
    }
};

}  // namespace brindle
