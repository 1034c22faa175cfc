#pragma once

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
#include "runtime/runtime.h"
#include "window_system_fake.h"

namespace brindle {

inline constexpr Colour kDesignFore = 0x00112233;
inline constexpr Colour kDesignBack = 0x00445566;
inline const DateTime kDesignPickerValue = MakeDateTime(2001, 2, 3, 4, 5, 6);

// A window with one control of every kind, each with a recognisable design value.
inline const WindowLayout& ProbeLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.name = "frmProbe";
        w.caption = "Probe";
        w.clientArea = {0, 0, 1500, 900};

        ControlLayout label;
        label.name = "lblShow";
        label.kind = ControlKind::Label;
        label.caption = "design caption";
        label.foreColor = kDesignFore;
        label.backColor = kDesignBack;

        ControlLayout combo;
        combo.name = "cboPick";
        combo.kind = ControlKind::ComboBox;
        combo.caption = "design text";

        ControlLayout text;
        text.name = "txtLead";
        text.kind = ControlKind::TextBox;
        text.caption = "20";

        ControlLayout button;
        button.name = "cmdGo";
        button.kind = ControlKind::CommandButton;
        button.caption = "Go";

        ControlLayout timer;
        timer.name = "tmrTick";
        timer.kind = ControlKind::Timer;
        timer.timerEnabled = false;
        timer.timerInterval = 250;

        ControlLayout picker;
        picker.name = "dtpWhen";
        picker.kind = ControlKind::DatePicker;
        picker.pickerValue = kDesignPickerValue;
        picker.pickerMin = MakeDateTime(1601, 1, 1, 0, 0, 0);
        picker.pickerMax = MakeDateTime(9999, 12, 31, 0, 0, 0);

        w.controls = {label, combo, text, button, timer, picker};
        return w;
    }();
    return layout;
}

// A second plain window, so cascades and counts involve more than one.
inline const WindowLayout& SideLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.name = "frmSide";
        w.caption = "Side";
        w.clientArea = {0, 0, 600, 300};
        ControlLayout label;
        label.name = "lblSide";
        label.kind = ControlKind::Label;
        label.caption = "side";
        w.controls = {label};
        return w;
    }();
    return layout;
}

// A never-shown window that carries a context menu with a separator among its entries.
inline const WindowLayout& CarrierLayout() {
    static const WindowLayout layout = [] {
        WindowLayout w;
        w.name = "frmCarrier";
        w.caption = "Carrier";
        w.clientArea = {0, 0, 600, 300};
        auto entry = [](std::string name, std::string caption, std::string parent) {
            ControlLayout c;
            c.name = std::move(name);
            c.kind = ControlKind::MenuItem;
            c.caption = std::move(caption);
            c.menuParent = std::move(parent);
            return c;
        };
        w.controls = {
            entry("mnuMenu", "Menu", ""),
            entry("mnuFirst", "First", "mnuMenu"),
            entry("mnuBar", "-", "mnuMenu"),
            entry("mnuLast", "Last", "mnuMenu"),
        };
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
};

}  // namespace brindle
