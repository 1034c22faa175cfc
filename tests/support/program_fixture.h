#pragma once

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "desktop_fake.h"
#include "os_functions_fake.h"
#include "program.h"
#include "window_system_fake.h"

namespace brindle {

// The values Windows reads for "above every other window" and "back among the others", and for
// keeping the position and size (SWP_NOSIZE | SWP_NOMOVE): the program's own constants could be
// wrong.
inline constexpr std::int64_t kTopMost = -1, kNotTopMost = -2, kKeepPlace = 3;

// The whole program on the fakes, started at 10:00:00, with the gestures a user makes, so that a
// test reads as the user's steps and checks what reached the screen.
struct ProgramFixture {
    ClockFake clock;
    OsFunctionsFake os{clock};
    WindowSystemFake windows;
    DesktopFake desktop;
    Program program{windows, os, clock, desktop};
    brindle::frmCountDown& countDown = program.frmCountDown;
    brindle::Form1& setup = program.Form1;
    brindle::frmMenu& menuCarrier = program.frmMenu;
    brindle::frmRef& dialog = program.frmRef;

    ProgramFixture() {
        clock.Set(10, 0, 0);
        program.Start();
    }

    bool OnScreen(const Form& window) const {
        const auto shown = windows.screen.find(window.Name());
        return shown != windows.screen.end() && shown->second.visible;
    }
    const ShownControl& Shown(const Form& window, const std::string& control) const {
        return windows.screen.at(window.Name()).controls.at(control);
    }
    // The countdown as shown ("" without its window).
    std::string Display() const {
        return windows.screen.contains(countDown.Name()) ? Shown(countDown, "lblCountDown").text
                                                         : "";
    }
    // Ticks the countdown's timer every 250 ms for the given span, as the toolkit would.
    void RunTimerFor(std::int64_t milliseconds) {
        for (std::int64_t t = 0; t < milliseconds; t += 250) {
            clock.Advance(250);
            if (countDown.IsLoaded()) {
                windows.FireTimer(countDown, "tmrDisplayTime");
            }
        }
    }
    // One tick at a time of the fixture's day; returns the display.
    std::string TickAt(int hour, int minute, int second) {
        clock.Set(hour, minute, second);
        if (countDown.IsLoaded()) {
            windows.FireTimer(countDown, "tmrDisplayTime");
        }
        return Display();
    }
    // Right-clicks a label and chooses "mnuCT" ("Change Time"), "mnuReferance" or "mnuExit".
    void ChooseFromMenu(Form& window, const std::string& label, const std::string& entry) {
        windows.ChooseOnNextPopup(entry);
        windows.PressLabel(window, label, MouseButton::Right);
    }
    void ChooseOnCountDown(const std::string& entry) {
        ChooseFromMenu(countDown, "lblCountDown", entry);
    }
    void ChooseOnSetup(const std::string& entry) { ChooseFromMenu(setup, "Label1", entry); }
    void StartCountdown(const std::string& minutes) {
        ChooseOnCountDown("mnuCT");
        windows.PickItem(setup, "Combo1", minutes);
    }
    void PickReferenceTime(int hour, int minute, int second) {
        dialog.DTPicker1().AcceptUserValue(MakeDateTime(2003, 11, 20, hour, minute, second));
    }
    void PressOk() { dialog.Command1().SetValue(true); }
    std::size_t SoundsPlayed() const { return os.CallsOf("PlaySoundA").size(); }
    std::size_t PausesTaken() const { return os.CallsOf("Sleep").size(); }

    void ExpectFreshSetupWindowShown() {
        EXPECT_TRUE(OnScreen(setup));
        const ShownControl& intervals = Shown(setup, "Combo1");
        const ShownControl& leads = Shown(setup, "Combo2");
        EXPECT_TRUE(intervals.enabled && leads.enabled);
        EXPECT_EQ(intervals.text + "|" + leads.text, "Time Frames|Alert Time");
        EXPECT_EQ(intervals.items.size(), 60u);
        EXPECT_EQ(leads.items, (std::vector<std::string>{"20", "30", "40", "50", "60"}));
    }
    // Every window and native window is gone, the window system was told once to end, and time
    // and pending events bring nothing back.
    void ExpectProgramEnded() {
        EXPECT_TRUE(program.runtime.HasEnded());
        EXPECT_TRUE(windows.screen.empty());
        const int peers = windows.peersCreated;
        RunTimerFor(60'000);
        windows.ProcessPendingEvents();
        EXPECT_EQ(windows.peersCreated, peers);
        EXPECT_EQ(windows.quitCount, 1);
    }
};

}  // namespace brindle
