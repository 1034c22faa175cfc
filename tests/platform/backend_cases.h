#pragma once

// The cases both backends pass on their real widgets, written once. The including test defines
// `Native` first: its window system and declared functions, its reading of what a widget shows,
// its toolkit's way of doing the steps a person takes that the desktop walks do not (typing, a
// middle press, editing the picker, closing the dialog) and of running its event loop until
// something happens. The Qt test builds this with the native compiler, the Win32 test with mingw.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "clock_fake.h"
#include "desktop_fake.h"
#include "layouts.h"
#include "os_functions_fake.h"
#include "program.h"
#include "runtime/peer_rules.h"

namespace brindle {
namespace {

// What a control's widget shows, as its toolkit reads it back.
struct Shown {
    PixelRect place;
    // The face, the size in the toolkit's own unit, the weight and whether it is italic.
    std::tuple<std::string, double, int, bool> font;
    std::pair<Colour, Colour> colours;  // of the text and of the background
    std::string text;                   // a label's caption or a list's field
    std::vector<std::string> items;
    bool enabled = true;
    DateTime value{};
};

// The program on the backend's widgets, with the clock faked.
class Backend : public testing::Test {
protected:
    Backend() {
        clock.Set(10, 0, 0);
        program.Start();
        native.windows.ProcessPendingEvents();
    }

    // Every control that can be seen has a widget of its layout's place and font that shows what
    // its control holds now, in the colours it holds now; any other control has none, so neither
    // the keyboard nor a screen reader reaches it.
    void ExpectShownAsHeld(Form& form) {
        const float twipsPerPixel = native.TwipsPerPixel(form);
        const PixelRect area = ToPixels(form.Layout().clientArea, twipsPerPixel);
        EXPECT_EQ(native.ClientSize(form), std::pair(area.width, area.height));
        for (const auto& control : form.Controls()) {
            const ControlLayout& c = control->Layout();
            SCOPED_TRACE(form.Name() + "." + c.name);
            const std::optional<Shown> shown = native.Read(form, *control);
            ASSERT_EQ(shown.has_value(), CanBeSeen(*control));
            if (!shown) {
                continue;
            }
            // A list's field takes its height from its font.
            const PixelRect r = ToPixels(c.bounds, twipsPerPixel), &p = shown->place;
            EXPECT_EQ(std::tuple(p.left, p.top, p.width, p.height),
                      std::tuple(r.left, r.top, r.width,
                                 c.kind == ControlKind::ComboBox ? p.height : r.height));
            if (!c.font.face.empty()) {
                EXPECT_EQ(shown->font,
                          std::tuple(c.font.face, native.FontSize(form, c.font.points),
                                     c.font.weight, c.font.slant == FontSlant::Italic));
            }
            if (c.kind == ControlKind::Label) {
                const auto& label = static_cast<const Label&>(*control);
                EXPECT_EQ(shown->colours, std::pair(label.ForeColor(), label.BackColor()));
                EXPECT_EQ(shown->text, label.Caption());
            } else if (c.kind == ControlKind::ComboBox) {
                const auto& list = static_cast<const ComboBox&>(*control);
                EXPECT_EQ(shown->colours, std::pair(c.foreColor, c.backColor));
                EXPECT_EQ(std::pair(shown->text, shown->enabled),
                          std::pair(list.Text(), list.Enabled()));
                EXPECT_EQ(shown->items, list.Items());
            } else if (c.kind == ControlKind::DatePicker) {
                EXPECT_EQ(shown->value, static_cast<const DatePicker&>(*control).Value());
            }
        }
    }

    ClockFake clock;
    DesktopFake desktop;
    Native native{clock};
    Program program{native.windows, native.os, clock, desktop};
    const std::vector<Form*> forms{&program.frmCountDown, &program.Form1, &program.frmRef};
};

TEST_F(Backend, EveryWidgetShowsItsLayoutAndWhatItsControlHoldsAfterEachChange) {
    for (Form* form : forms) {
        ExpectShownAsHeld(*form);
    }
    // The flash's colours, the time left, the list's field, items and state, the picker's value.
    program.frmCountDown.dColors().SetValue(true);
    program.frmCountDown.lblCountDown().SetCaption("04:59");
    ComboBox& minutes = program.Form1.Combo1();
    minutes.SetText("15");
    minutes.AddItem("90");
    minutes.SetEnabled(false);
    DatePicker& picker = program.frmRef.DTPicker1();
    picker.SetValue(MakeDateTime(2010, 5, 6, 7, 8, 9));
    for (Form* form : forms) {
        ExpectShownAsHeld(*form);
    }
    // A value the picker cannot show, which it moves into its range, stays the control's value.
    picker.SetValue(MakeDateTime(1500, 1, 1, 0, 0, 0));
    EXPECT_EQ(picker.Value(), MakeDateTime(1500, 1, 1, 0, 0, 0));
}

TEST_F(Backend, TheUsersActionsReachTheirHandlers) {
    // Typing into the interval list changes its text and starts nothing.
    program.Form1.Show();
    native.Type(program.Form1, program.Form1.Combo1(), "15");
    EXPECT_EQ(program.Form1.Combo1().Text(), "15");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());
    // A middle press with Shift and Ctrl reaches a label as it is; the walks press the others.
    std::vector<std::pair<MouseButton, int>> presses;
    Label& label = program.frmCountDown.Label1();
    label.OnMouseDown([&](MouseButton button, std::int16_t shift, float, float) {
        presses.emplace_back(button, shift);
    });
    native.MiddlePressWithShiftAndCtrl(program.frmCountDown, label);
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Middle, 3}}));
    // The user sets the picker to 09:15:30; the window manager closes the dialog.
    program.frmRef.Show();
    native.EditPicker(program.frmRef, MakeDateTime(2003, 11, 20, 9, 15, 30));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 9, 15, 30));
    native.Close(program.frmRef);
    EXPECT_FALSE(program.frmRef.IsLoaded());
}

// The countdown's quarter-second timer on a window of the test's own, whose wall clock the test
// sets.
struct TickedWindow {
    explicit TickedWindow(std::function<std::int64_t()> wallClockNs)
        : windows(Native::TickWindows({TickAlignment::WallClock, std::move(wallClockNs)})) {}
    ClockFake clock;
    OsFunctionsFake os{clock};
    DesktopFake desktop;
    std::unique_ptr<WindowSystem> windows;
    Runtime runtime{*windows, os, clock, desktop};
    Form form{runtime, CountDownLayout()};
    Timer& timer = form.Get<Timer>("tmrDisplayTime");
};

TEST(TickTimer, TicksAreAimedBeforeTheirHandlerAndGoOnInANestedLoopUntilDisabled) {
    // The wall clock stands 1 ms before a whole second when first read, so the first tick is aimed
    // just past it, and a quarter second later at each reading after, so every shot finds the
    // boundary it was aimed at passed.
    int wallClockReads = 0;
    TickedWindow w([&] {
        ++wallClockReads;
        return std::int64_t{1'796'601'600'000'000'000 - 1'000'000} +
               (wallClockReads - 1) * std::int64_t{250'000'000};
    });
    std::vector<int> readsInHandler;
    w.timer.OnTimer([&] {
        readsInHandler.push_back(wallClockReads);
        if (readsInHandler.size() == 1) {
            Native::WaitFor(*w.windows, [&] { return readsInHandler.size() == 3; });
            w.timer.SetEnabled(false);
        }
    });
    w.timer.SetEnabled(true);
    Native::WaitFor(*w.windows, [&] { return !readsInHandler.empty(); });
    // Enabling read the clock once; each tick read it again before its handler ran.
    EXPECT_EQ(readsInHandler, (std::vector<int>{2, 3, 4}));
    // Disabling drops the shot it armed, and unloading the window a running timer's.
    w.timer.SetEnabled(true);
    w.timer.SetEnabled(false);
    Native::WaitFor(
        *w.windows, [&] { return readsInHandler.size() > 3; }, 300);
    w.timer.SetEnabled(true);
    w.form.Unload();
    Native::WaitFor(
        *w.windows, [&] { return readsInHandler.size() > 3; }, 300);
    EXPECT_EQ(readsInHandler.size(), 3u);
}

TEST(TickTimer, AShotBeforeItsBoundaryRaisesNoTickAndTheTickFindsTheNewPeriod) {
    // The wall clock stands 1 ms before a whole second, as a clock slewed slow stands to a timer
    // that measures on another clock: every shot comes before the boundary.
    constexpr std::int64_t kSecond = 1'796'601'600'000'000'000, kMs = 1'000'000;
    std::int64_t wallNs = kSecond - kMs;
    int wallClockReads = 0;
    TickedWindow w([&] {
        ++wallClockReads;
        return wallNs;
    });
    std::vector<std::int64_t> wallInHandler;
    w.timer.OnTimer([&] { wallInHandler.push_back(wallNs); });
    w.timer.SetEnabled(true);
    // Enabling read the clock once and each shot once more: three shots came, none ticked.
    ASSERT_TRUE(Native::WaitFor(*w.windows, [&] { return wallClockReads >= 4; }));
    EXPECT_TRUE(wallInHandler.empty());
    wallNs = kSecond;
    ASSERT_TRUE(Native::WaitFor(*w.windows, [&] { return !wallInHandler.empty(); }));
    // The shot after the tick is aimed at the next quarter, which this clock never reaches.
    const int readsAfterTick = wallClockReads;
    ASSERT_TRUE(Native::WaitFor(*w.windows, [&] { return wallClockReads > readsAfterTick; }));
    w.timer.SetEnabled(false);
    EXPECT_EQ(wallInHandler, std::vector<std::int64_t>{kSecond});
}

}  // namespace
}  // namespace brindle
