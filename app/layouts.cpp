#include "layouts.h"

namespace brindle {

namespace {

constexpr Colour kBlue = 0x00FF0000;
constexpr Colour kLightGrey = 0x00E0E0E0;
constexpr Colour kGrey = 0x00808080;
constexpr Colour kDarkBlue = 0x00C00000;
constexpr Colour kRed = 0x000000FF;
constexpr Colour kWhite = 0x00FFFFFF;

ControlLayout Button(std::string name, std::string caption, TwipsRect bounds, int tabIndex) {
    ControlLayout c;
    c.name = std::move(name);
    c.kind = ControlKind::CommandButton;
    c.caption = std::move(caption);
    c.bounds = bounds;
    c.alignment = Alignment::Centre;
    c.tabIndex = tabIndex;
    return c;
}

// A button that lies outside the countdown window's client area and is pressed only from code.
ControlLayout HiddenEntryPoint(std::string name, std::string caption, TwipsRect bounds,
                               int tabIndex) {
    ControlLayout c = Button(std::move(name), std::move(caption), bounds, tabIndex);
    c.focus = Focus::Refuses;
    return c;
}

ControlLayout LabelControl(std::string name, std::string caption, TwipsRect bounds,
                           Colour foreColor, Colour backColor, Font font, int tabIndex) {
    ControlLayout c;
    c.name = std::move(name);
    c.kind = ControlKind::Label;
    c.caption = std::move(caption);
    c.bounds = bounds;
    c.foreColor = foreColor;
    c.backColor = backColor;
    c.font = std::move(font);
    c.alignment = Alignment::Centre;
    c.tabIndex = tabIndex;
    return c;
}

ControlLayout Combo(std::string name, std::string text, TwipsRect bounds, Font font, int tabIndex) {
    ControlLayout c;
    c.name = std::move(name);
    c.kind = ControlKind::ComboBox;
    c.caption = std::move(text);
    c.bounds = bounds;
    c.foreColor = kGrey;
    c.backColor = kLightGrey;
    c.font = std::move(font);
    c.tabIndex = tabIndex;
    return c;
}

ControlLayout Menu(std::string name, std::string caption, std::string parent,
                   MenuCheck check = MenuCheck::None) {
    ControlLayout c;
    c.name = std::move(name);
    c.kind = ControlKind::MenuItem;
    c.caption = std::move(caption);
    c.menuParent = std::move(parent);
    c.menuCheck = check;
    return c;
}

WindowLayout MakeCountDown() {
    WindowLayout w;
    w.name = "frmCountDown";
    w.caption = "CountDown Timer";
    w.clientArea = {0, 0, 855, 585};
    w.border = BorderStyle::None;
    w.startUpPosition = StartUpPosition::CentreScreen;
    w.taskbar = TaskbarEntry::No;
    w.hasIcon = true;

    ControlLayout alert;
    alert.name = "alert";
    alert.kind = ControlKind::TextBox;
    alert.caption = "20";
    alert.bounds = {840, 1440, 435, 315};
    alert.tabIndex = 0;
    alert.focus = Focus::Refuses;

    ControlLayout timer;
    timer.name = "tmrDisplayTime";
    timer.kind = ControlKind::Timer;
    timer.timerEnabled = false;
    timer.timerInterval = 250;

    w.controls = {
        HiddenEntryPoint("GetWindowState", "GetWindowState", {240, 3000, 375, 255}, 8),
        HiddenEntryPoint("dColors", "Command1", {120, 1680, 615, 255}, 7),
        HiddenEntryPoint("Colors", "Command1", {120, 1200, 615, 255}, 6),
        HiddenEntryPoint("cmdAlert", "Command1", {0, 720, 735, 255}, 5),
        HiddenEntryPoint("cmdStopTimer", "Stop Timer", {3420, 540, 2055, 315}, 3),
        HiddenEntryPoint("cmdStartTimer", "Start Timer", {3420, 120, 2055, 315}, 2),
        alert,
        timer,
        LabelControl("Label1", "Label1", {0, 360, 855, 225}, kBlue, kLightGrey,
                     {"Arial", 8.25, 400, FontSlant::Upright}, 4),
        LabelControl("lblCountDown", "", {0, 0, 855, 435}, kBlue, kLightGrey,
                     {"Arial", 14.25, 700, FontSlant::Upright}, 1),
    };
    return w;
}

WindowLayout MakeSetup() {
    WindowLayout w;
    w.name = "Form1";
    w.caption = "Form1";
    // It is what "Change Time" opens, and the first thing a screen reader says of it.
    w.accessibleName = "Change Time";
    w.clientArea = {0, 0, 1710, 2205};
    w.border = BorderStyle::None;
    w.startUpPosition = StartUpPosition::CentreScreen;
    w.backColor = kLightGrey;
    w.taskbar = TaskbarEntry::No;
    w.hasIcon = false;
    const Font bold{"Arial", 9.75, 700, FontSlant::Upright};
    ControlLayout lead = Combo("Combo2", "Alert Time", {0, 1200, 1695, 315}, {}, 1);
    lead.describedBy = "Label2";
    ControlLayout interval = Combo("Combo1", "Time Frames", {0, 600, 1695, 330},
                                   {"Arial", 8.25, 400, FontSlant::Upright}, 0);
    interval.describedBy = "Label1";
    w.controls = {
        lead,
        interval,
        LabelControl("Label4", "1.1.0 Sound", {0, 1920, 1695, 255}, kDarkBlue, kLightGrey,
                     {"Arial", 9, 400, FontSlant::Upright}, 5),
        LabelControl("Label3", "Ombers Hack of Varn's Timer", {0, 0, 1695, 495}, kRed, kLightGrey,
                     {"Arial", 9.75, 700, FontSlant::Italic}, 4),
        LabelControl("Label2", "Alert Seconds", {0, 1560, 1695, 255}, kGrey, kLightGrey, bold, 3),
        LabelControl("Label1", "Minute interval", {0, 960, 1695, 255}, kGrey, kLightGrey, bold, 2),
    };
    return w;
}

WindowLayout MakeMenu() {
    WindowLayout w;
    w.name = "frmMenu";
    w.caption = "Form2";
    w.clientArea = {0, 0, 4680, 3135};
    w.border = BorderStyle::Sizable;
    w.startUpPosition = StartUpPosition::WindowsDefault;
    w.taskbar = TaskbarEntry::Yes;
    w.hasIcon = false;
    w.controls = {
        Menu("mnuMenu", "Menu", ""),
        Menu("mnuCT", "Change Time", "mnuMenu"),
        Menu("mnuReferance", "Referance", "mnuMenu"),
        Menu("mnuFileBar0", "-", "mnuMenu"),
        Menu("mnuQuiet", "Quiet When Busy", "mnuMenu", MenuCheck::Unchecked),
        Menu("mnuLogIn", "Start at Log-in", "mnuMenu", MenuCheck::Unchecked),
        Menu("mnuFileBar1", "-", "mnuMenu"),
        Menu("mnuExit", "Exit App", "mnuMenu"),
    };
    return w;
}

WindowLayout MakeReference() {
    WindowLayout w;
    w.name = "frmRef";
    w.caption = "Form2";
    // "Form2" is a name from the code; what the dialog sets is the reference time.
    w.accessibleName = "Reference time";
    w.clientArea = {0, 0, 1620, 930};
    w.border = BorderStyle::Sizable;
    w.startUpPosition = StartUpPosition::WindowsDefault;
    w.taskbar = TaskbarEntry::Yes;
    w.hasIcon = true;

    ControlLayout ok = Button("Command1", "Ok", {360, 600, 855, 255}, 1);
    ok.backColor = kWhite;
    ok.font = {"Arial", 8.25, 700, FontSlant::Upright};
    ok.buttonStyle = ButtonStyle::Graphical;

    ControlLayout picker;
    picker.name = "DTPicker1";
    picker.kind = ControlKind::DatePicker;
    picker.bounds = {120, 120, 1335, 375};
    picker.tabIndex = 0;
    picker.pickerValue = MakeDateTime(2003, 11, 20, 0, 0, 0);
    picker.pickerMin = MakeDateTime(1601, 1, 1, 0, 0, 0);
    picker.pickerMax = MakeDateTime(9999, 12, 31, 0, 0, 0);
    picker.accessibleName = "Reference time";

    w.controls = {ok, picker};
    return w;
}

}  // namespace

const WindowLayout& CountDownLayout() {
    static const WindowLayout layout = MakeCountDown();
    return layout;
}

const WindowLayout& SetupLayout() {
    static const WindowLayout layout = MakeSetup();
    return layout;
}

const WindowLayout& MenuLayout() {
    static const WindowLayout layout = MakeMenu();
    return layout;
}

const WindowLayout& ReferenceLayout() {
    static const WindowLayout layout = MakeReference();
    return layout;
}

}  // namespace brindle
