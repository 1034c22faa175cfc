#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layouts.h"
#include "program_fixture.h"

namespace brindle {
namespace {

constexpr Colour kGrey = 0x00808080;
constexpr Colour kLightGrey = 0x00E0E0E0;
constexpr Colour kBlue = 0x00FF0000;
constexpr Colour kDarkBlue = 0x00C00000;
constexpr Colour kRed = 0x000000FF;
constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kDefault = kDefaultColour;

const Font kWindowFont{};
const Font kArial8{"Arial", 8.25, 400, FontSlant::Upright};
const Font kArial9{"Arial", 9, 400, FontSlant::Upright};
const Font kArialBold975{"Arial", 9.75, 700, FontSlant::Upright};
const Font kArialBoldItalic975{"Arial", 9.75, 700, FontSlant::Italic};
const Font kArialBold14{"Arial", 14.25, 700, FontSlant::Upright};
const Font kArialBold8{"Arial", 8.25, 700, FontSlant::Upright};

struct WindowRow {
    const WindowLayout& (*layout)();
    const char* name;
    const char* caption;
    BorderStyle border;
    float width;
    float height;
    StartUpPosition position;
    Colour back;
    TaskbarEntry taskbar;
    bool icon;
};

const WindowRow kWindows[] = {
    {CountDownLayout, "frmCountDown", "CountDown Timer", BorderStyle::None, 855, 585,
     StartUpPosition::CentreScreen, kDefault, TaskbarEntry::No, true},
    {SetupLayout, "Form1", "Form1", BorderStyle::None, 1710, 2205, StartUpPosition::CentreScreen,
     kLightGrey, TaskbarEntry::No, false},
    {MenuLayout, "frmMenu", "Form2", BorderStyle::Sizable, 4680, 3135,
     StartUpPosition::WindowsDefault, kDefault, TaskbarEntry::Yes, false},
    {ReferenceLayout, "frmRef", "Form2", BorderStyle::Sizable, 1620, 930,
     StartUpPosition::WindowsDefault, kDefault, TaskbarEntry::Yes, true},
};

TEST(WindowLayouts, EachWindowHasItsDesignSettings) {
    for (const WindowRow& row : kWindows) {
        const WindowLayout& w = row.layout();
        SCOPED_TRACE(row.name);
        EXPECT_EQ(w.name, row.name);
        EXPECT_EQ(w.caption, row.caption);
        EXPECT_EQ(w.border, row.border);
        EXPECT_EQ(w.clientArea.width, row.width);
        EXPECT_EQ(w.clientArea.height, row.height);
        EXPECT_EQ(w.startUpPosition, row.position);
        EXPECT_EQ(w.backColor, row.back);
        EXPECT_EQ(w.taskbar, row.taskbar);
        EXPECT_EQ(w.hasIcon, row.icon);
    }
}

// One control as the design has it. Where the design leaves a value open the row leaves it
// empty and the test does not look at it.
struct ControlRow {
    const char* name;
    ControlKind kind;
    const char* caption;
    std::optional<TwipsRect> bounds;
    Colour fore;
    Colour back;
    Font font;
    std::optional<Alignment> alignment;
    int tabIndex;
    Focus focus;
    ButtonStyle style = ButtonStyle::Standard;
};

using Table = std::vector<ControlRow>;

const Table kSetupControls = {
    {"Combo2", ControlKind::ComboBox, "Alert Time", TwipsRect{0, 1200, 1695, 315}, kGrey,
     kLightGrey, kWindowFont, std::nullopt, 1, Focus::Accepts},
    {"Combo1", ControlKind::ComboBox, "Time Frames", TwipsRect{0, 600, 1695, 330}, kGrey,
     kLightGrey, kArial8, std::nullopt, 0, Focus::Accepts},
    {"Label4", ControlKind::Label, "1.1.0 Sound", TwipsRect{0, 1920, 1695, 255}, kDarkBlue,
     kLightGrey, kArial9, Alignment::Centre, 5, Focus::Accepts},
    {"Label3", ControlKind::Label, "Ombers Hack of Varn's Timer", TwipsRect{0, 0, 1695, 495}, kRed,
     kLightGrey, kArialBoldItalic975, Alignment::Centre, 4, Focus::Accepts},
    {"Label2", ControlKind::Label, "Alert Seconds", TwipsRect{0, 1560, 1695, 255}, kGrey,
     kLightGrey, kArialBold975, Alignment::Centre, 3, Focus::Accepts},
    {"Label1", ControlKind::Label, "Minute interval", TwipsRect{0, 960, 1695, 255}, kGrey,
     kLightGrey, kArialBold975, Alignment::Centre, 2, Focus::Accepts},
};

const Table kCountDownControls = {
    {"GetWindowState", ControlKind::CommandButton, "GetWindowState", TwipsRect{240, 3000, 375, 255},
     kDefault, kDefault, kWindowFont, Alignment::Centre, 8, Focus::Refuses},
    {"dColors", ControlKind::CommandButton, "Command1", TwipsRect{120, 1680, 615, 255}, kDefault,
     kDefault, kWindowFont, Alignment::Centre, 7, Focus::Refuses},
    {"Colors", ControlKind::CommandButton, "Command1", TwipsRect{120, 1200, 615, 255}, kDefault,
     kDefault, kWindowFont, Alignment::Centre, 6, Focus::Refuses},
    {"cmdAlert", ControlKind::CommandButton, "Command1", TwipsRect{0, 720, 735, 255}, kDefault,
     kDefault, kWindowFont, Alignment::Centre, 5, Focus::Refuses},
    {"cmdStopTimer", ControlKind::CommandButton, "Stop Timer", TwipsRect{3420, 540, 2055, 315},
     kDefault, kDefault, kWindowFont, Alignment::Centre, 3, Focus::Refuses},
    {"cmdStartTimer", ControlKind::CommandButton, "Start Timer", TwipsRect{3420, 120, 2055, 315},
     kDefault, kDefault, kWindowFont, Alignment::Centre, 2, Focus::Refuses},
    {"alert", ControlKind::TextBox, "20", TwipsRect{840, 1440, 435, 315}, kDefault, kDefault,
     kWindowFont, Alignment::Left, 0, Focus::Refuses},
    {"tmrDisplayTime", ControlKind::Timer, "", std::nullopt, kDefault, kDefault, kWindowFont,
     std::nullopt, -1, Focus::Accepts},
    {"Label1", ControlKind::Label, "Label1", TwipsRect{0, 360, 855, 225}, kBlue, kLightGrey,
     kArial8, Alignment::Centre, 4, Focus::Accepts},
    {"lblCountDown", ControlKind::Label, "", TwipsRect{0, 0, 855, 435}, kBlue, kLightGrey,
     kArialBold14, Alignment::Centre, 1, Focus::Accepts},
};

const Table kReferenceControls = {
    {"Command1", ControlKind::CommandButton, "Ok", TwipsRect{360, 600, 855, 255}, kDefault, kWhite,
     kArialBold8, Alignment::Centre, 1, Focus::Accepts, ButtonStyle::Graphical},
    {"DTPicker1", ControlKind::DatePicker, "", TwipsRect{120, 120, 1335, 375}, kDefault, kDefault,
     kWindowFont, std::nullopt, 0, Focus::Accepts},
};

// A control's settings as one line of text, so a difference shows as the whole row.
std::string Describe(const ControlLayout& c, bool withBounds, bool withAlignment) {
    std::ostringstream out;
    out << c.name << " kind " << static_cast<int>(c.kind) << " \"" << c.caption << "\" fore "
        << c.foreColor << " back " << c.backColor << " font '" << c.font.face << "' "
        << c.font.points << " " << c.font.weight << " " << static_cast<int>(c.font.slant) << " tab "
        << c.tabIndex << " focus " << static_cast<int>(c.focus) << " style "
        << static_cast<int>(c.buttonStyle);
    if (withBounds) {
        out << " at " << c.bounds.left << "," << c.bounds.top << " " << c.bounds.width << "x"
            << c.bounds.height;
    }
    if (withAlignment) {
        out << " align " << static_cast<int>(c.alignment);
    }
    return out.str();
}

// Stored order is stacking order, front to back, so the controls must come in table order.
void ExpectControlsAsDesigned(const WindowLayout& window, const Table& table) {
    ASSERT_EQ(window.controls.size(), table.size()) << window.name;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ControlRow& row = table[i];
        ControlLayout expected;
        expected.name = row.name;
        expected.kind = row.kind;
        expected.caption = row.caption;
        expected.bounds = row.bounds.value_or(TwipsRect{});
        expected.foreColor = row.fore;
        expected.backColor = row.back;
        expected.font = row.font;
        expected.alignment = row.alignment.value_or(Alignment::Left);
        expected.tabIndex = row.tabIndex;
        expected.focus = row.focus;
        expected.buttonStyle = row.style;
        EXPECT_EQ(Describe(window.controls[i], row.bounds.has_value(), row.alignment.has_value()),
                  Describe(expected, row.bounds.has_value(), row.alignment.has_value()));
    }
}

TEST(ControlLayouts, ControlsOfEachWindowAreAsDesigned) {
    ExpectControlsAsDesigned(SetupLayout(), kSetupControls);
    ExpectControlsAsDesigned(CountDownLayout(), kCountDownControls);
    ExpectControlsAsDesigned(ReferenceLayout(), kReferenceControls);
}

TEST(ControlLayouts, TimerStartsOffWithQuarterSecondPeriodAndPickerAtItsDesignDate) {
    const ControlLayout& timer = CountDownLayout().controls.at(7);
    ASSERT_EQ(timer.kind, ControlKind::Timer);
    EXPECT_FALSE(timer.timerEnabled);
    EXPECT_EQ(timer.timerInterval, 250);
    const ControlLayout& picker = ReferenceLayout().controls.at(1);
    ASSERT_EQ(picker.kind, ControlKind::DatePicker);
    EXPECT_EQ(picker.pickerValue, MakeDateTime(2003, 11, 20, 0, 0, 0));
    EXPECT_EQ(picker.pickerMin, MakeDateTime(1601, 1, 1, 0, 0, 0));
    EXPECT_EQ(picker.pickerMax, MakeDateTime(9999, 12, 31, 0, 0, 0));
}

bool Contains(const TwipsRect& r, float x, float y) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

bool Overlaps(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(ControlLayouts, CountDownClientAreaShowsOnlyItsTwoLabelsAndTheyCoverIt) {
    const WindowLayout& w = CountDownLayout();
    const TwipsRect client{0, 0, w.clientArea.width, w.clientArea.height};
    std::vector<TwipsRect> labels;
    for (const ControlLayout& c : w.controls) {
        if (c.kind == ControlKind::Timer) {
            continue;
        }
        if (c.kind == ControlKind::Label) {
            // Each label lies wholly inside the client area.
            EXPECT_GE(c.bounds.left, 0) << c.name;
            EXPECT_GE(c.bounds.top, 0) << c.name;
            EXPECT_LE(c.bounds.left + c.bounds.width, client.width) << c.name;
            EXPECT_LE(c.bounds.top + c.bounds.height, client.height) << c.name;
            labels.push_back(c.bounds);
        } else {
            // Buttons and the text box lie wholly outside, where the user can never reach them.
            EXPECT_FALSE(Overlaps(c.bounds, client)) << c.name;
        }
    }
    EXPECT_EQ(labels.size(), 2u);

    // Every pixel of the client area (15 twips apart) is on one of the labels, so a press
    // anywhere in the window lands on a label.
    for (float y = 0; y < client.height; y += 15) {
        for (float x = 0; x < client.width; x += 15) {
            bool covered = false;
            for (const TwipsRect& label : labels) {
                covered = covered || Contains(label, x, y);
            }
            ASSERT_TRUE(covered) << "uncovered at " << x << ", " << y;
        }
    }
}

class LoadedLayouts : public ::testing::Test, public ProgramFixture {};

TEST_F(LoadedLayouts, MenuCarrierHoldsOneMenuWithItsEntriesInOrder) {
    const WindowLayout& w = MenuLayout();
    ASSERT_EQ(w.controls.size(), 5u);
    EXPECT_EQ(w.controls[0].name, "mnuMenu");
    EXPECT_EQ(w.controls[0].menuParent, "");
    std::vector<std::string> entries;
    for (const MenuItem* entry : program.frmMenu.mnuMenu().Children()) {
        entries.push_back(entry->Name() + " " + entry->Caption() +
                          (entry->IsSeparator() ? " (separator)" : ""));
        EXPECT_TRUE(entry->Children().empty()) << entry->Name();
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"mnuCT Change Time", "mnuReferance Referance",
                                                 "mnuFileBar0 - (separator)", "mnuExit Exit App"}));
    EXPECT_FALSE(program.frmMenu.IsVisible());
}

}  // namespace
}  // namespace brindle
