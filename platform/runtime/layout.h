#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "value/date_time.h"

namespace brindle {

// Colours are 0x00BBGGRR values; positions and sizes are twips (1/1440 inch).
using Colour = std::uint32_t;

// The system's button-face colour stands for "the platform's default" where a layout leaves the
// colour to the window system.
inline constexpr Colour kDefaultColour = 0xFF000000;

enum class ControlKind { Label, ComboBox, TextBox, CommandButton, Timer, DatePicker, MenuItem };
enum class Alignment { Left, Centre, Right };
enum class FontSlant { Upright, Italic };
enum class ButtonStyle { Standard, Graphical };
enum class BorderStyle { None, Sizable };
enum class StartUpPosition { CentreScreen, WindowsDefault };
enum class TaskbarEntry { No, Yes };
enum class Visibility { Hidden, Visible };
// Off-screen controls that exist only as entry points for code refuse keyboard focus, so typing
// into a window can never reach them.
enum class Focus { Accepts, Refuses };

struct Font {
    std::string face;  // empty: the window's default font
    double points = 0.0;
    int weight = 400;
    FontSlant slant = FontSlant::Upright;
};

struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// One control as it is created on every load.
// A menu entry that is a check item shows whether its setting is on.
enum class MenuCheck { None, Unchecked, Checked };

struct ControlLayout {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string
        caption;  // caption of labels, buttons and menu entries; text of combo and text boxes
    TwipsRect bounds;
    Colour foreColor = kDefaultColour;
    Colour backColor = kDefaultColour;
    Font font;
    Alignment alignment = Alignment::Left;
    int tabIndex = -1;  // -1: not in the tab order
    Focus focus = Focus::Accepts;
    ButtonStyle buttonStyle = ButtonStyle::Standard;
    // Timers: enabled state and period in milliseconds.
    bool timerEnabled = false;
    int timerInterval = 0;
    // Date pickers: the stored value and the allowed range.
    DateTime pickerValue;
    DateTime pickerMin;
    DateTime pickerMax;
    // Menu entries: the parent entry's name (empty for a top-level entry), and whether the entry
    // is a check item and checked.
    std::string menuParent;
    MenuCheck menuCheck = MenuCheck::None;
    // What a screen reader announces a control by, where its text would not say what it is: the
    // name of the label that describes it, or failing that a name of its own.
    std::string describedBy;
    std::string accessibleName;
};

// One window as it is created on every load. Controls are in stored order, which is their
// stacking order from front to back.
struct WindowLayout {
    std::string name;
    std::string caption;
    TwipsRect clientArea;  // only width and height are used
    BorderStyle border = BorderStyle::None;
    StartUpPosition startUpPosition = StartUpPosition::CentreScreen;
    Colour backColor = kDefaultColour;
    TaskbarEntry taskbar = TaskbarEntry::No;
    bool hasIcon = false;
    // What a screen reader announces the window by, where its caption is a name from the code
    // that says nothing of what the window is for; empty: the caption.
    std::string accessibleName;
    std::vector<ControlLayout> controls;
};

}  // namespace brindle
