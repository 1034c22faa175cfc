#pragma once

// The cases both backends pass on their real widgets, written once. The including test defines
// `Native` first: its window system and declared functions, and its toolkit's way of doing each
// step a person takes (activating a window, pressing a key, typing, clicking a label, editing the
// picker, closing a window, choosing Exit App) and of running its event loop until something
// happens. The Qt test builds this with the native compiler, the Win32 test with mingw.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
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

// The program on the backend's widgets, with the clock faked.
class Backend : public testing::Test {
protected:
    Backend() {
        clock.Set(10, 0, 0);
        program.Start();
        native.windows.ProcessPendingEvents();
    }

    ClockFake clock;
    DesktopFake desktop;
    Native native{clock};
    Program program{native.windows, native.os, clock, desktop};
    const std::vector<Form*> forms{&program.frmCountDown, &program.Form1, &program.frmRef};
};

TEST_F(Backend, EveryLayoutControlIsShownInItsPlaceFontAndColours) {
    for (Form* form : forms) {
        native.ExpectShownAsLaidOut(*form);
    }
    // The flash's colour scheme reaches the widgets too.
    program.frmCountDown.dColors().SetValue(true);
    native.ExpectShownAsLaidOut(program.frmCountDown);
}

TEST_F(Backend, TheKeyboardWorksEachWindowInTabOrder) {
    // The focus starts at the lowest tab index and Tab follows the order round.
    for (Form* form : {forms[1], forms[2]}) {
        native.Activate(*form);
        const std::vector<Control*> order = TabOrder(*form);
        for (std::size_t i = 0; i <= order.size(); ++i, native.Press(Key::Tab)) {
            EXPECT_TRUE(native.HasFocus(*form, *order[i % order.size()])) << i;
        }
    }
    // The walk ends on Ok, which Return presses; Space, like a click, presses it in the dialog
    // opened afresh.
    for (const Key key : {Key::Return, Key::Space}) {
        native.Press(key);
        EXPECT_FALSE(program.frmRef.IsLoaded());
        native.Activate(program.frmRef);
        native.Press(Key::Tab);
    }
    // On the lead list, the first Down in a fresh list picks its first item, and the focus moves
    // on to the interval list.
    native.Activate(program.Form1);
    native.Press(Key::Down);
    EXPECT_EQ(program.frmCountDown.alert().Text(), "20");
    native.Press(Key::Down);
    EXPECT_EQ(program.Form1.Combo1().Text(), "1");
    EXPECT_TRUE(program.frmCountDown.tmrDisplayTime().Enabled());
}

TEST_F(Backend, TheUsersActionsReachTheirHandlersUpToExitApp) {
    // Typing into the interval list changes its text and starts nothing.
    program.Form1.Show();
    native.Type(program.Form1, program.Form1.Combo1(), "15");
    EXPECT_EQ(program.Form1.Combo1().Text(), "15");
    EXPECT_FALSE(program.frmCountDown.tmrDisplayTime().Enabled());
    // A label press, with its button and modifier mask.
    std::vector<std::pair<MouseButton, int>> presses;
    Label& label = program.frmCountDown.Label1();
    label.OnMouseDown([&](MouseButton button, std::int16_t shift, float, float) {
        presses.emplace_back(button, shift);
    });
    native.PressLabel(program.frmCountDown, label, MouseButton::Left,
                      {.shift = true, .control = true});
    native.PressLabel(program.frmCountDown, label, MouseButton::Middle, {.control = true});
    EXPECT_EQ(presses, (std::vector<std::pair<MouseButton, int>>{{MouseButton::Left, 3},
                                                                 {MouseButton::Middle, 2}}));
    // The user sets the picker to 09:15:30; the window manager closes the dialog.
    program.frmRef.Show();
    native.EditPicker(program.frmRef, MakeDateTime(2003, 11, 20, 9, 15, 30));
    EXPECT_EQ(program.frmRef.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 9, 15, 30));
    native.Close(program.frmRef);
    EXPECT_FALSE(program.frmRef.IsLoaded());
    // Exit App, chosen in the countdown's menu, ends the program with status 0.
    EXPECT_EQ(native.ExitAppFromTheMenu(program), 0);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
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
