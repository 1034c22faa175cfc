#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "clock_fake.h"
#include "os_functions_fake.h"
#include "program.h"
#include "window_system_fake.h"

namespace brindle {

// The whole program on the fake window system and clock, started at 10:00:00 as a user would
// start it, with the gestures a user makes, so that a test reads as the user's steps.
struct ProgramFixture {
    ClockFake clock;
    OsFunctionsFake os{clock};
    WindowSystemFake windows;
    Program program{windows, os, clock};
    brindle::frmCountDown& countDown = program.frmCountDown;
    brindle::Form1& setup = program.Form1;
    brindle::frmMenu& menuCarrier = program.frmMenu;
    brindle::frmRef& dialog = program.frmRef;

    ProgramFixture() {
        clock.Set(10, 0, 0);
        program.Start();
    }

    // Ticks the countdown's timer as the toolkit would, every 250 ms for the given span.
    void RunTimerFor(std::int64_t milliseconds) {
        for (std::int64_t t = 0; t < milliseconds; t += 250) {
            clock.Advance(250);
            if (countDown.IsLoaded()) {
                windows.FireTimer(countDown, "tmrDisplayTime");
            }
        }
    }

    // Moves the wall clock to a time of the fixture's day and lets one tick run, as a tick
    // arriving then would; returns the display. A countdown window that is not loaded gets none.
    std::string TickAt(int hour, int minute, int second) {
        clock.Set(hour, minute, second);
        if (countDown.IsLoaded()) {
            windows.FireTimer(countDown, "tmrDisplayTime");
        }
        return countDown.IsLoaded() ? countDown.lblCountDown().Caption() : "";
    }

    // Right-clicks a label and chooses an entry of the context menu that opens: "mnuCT" is
    // "Change Time", "mnuReferance" is "Referance", "mnuExit" is "Exit App".
    void ChooseFromMenu(Form& window, const std::string& label, const std::string& entry) {
        windows.ChooseOnNextPopup(entry);
        windows.PressLabel(window, label, MouseButton::Right);
    }
    void ChooseOnCountDown(const std::string& entry) {
        ChooseFromMenu(countDown, "lblCountDown", entry);
    }
    void ChooseOnSetup(const std::string& entry) { ChooseFromMenu(setup, "Label1", entry); }

    // A countdown of the given minutes, started from the first screen as the user starts one.
    void StartCountdown(const std::string& minutes) {
        ChooseOnCountDown("mnuCT");
        windows.PickItem(setup, "Combo1", minutes);
    }

    // The user edits the dialog's picker to a time of day; the date part plays no role.
    void PickReferenceTime(int hour, int minute, int second) {
        dialog.DTPicker1().AcceptUserValue(MakeDateTime(2003, 11, 20, hour, minute, second));
    }
    void PressOk() { dialog.Command1().SetValue(true); }

    std::size_t SoundsPlayed() const { return os.CallsOf("PlaySoundA").size(); }
    std::size_t PausesTaken() const { return os.CallsOf("Sleep").size(); }
    std::size_t PeersCreatedFor(const std::string& window) const {
        return static_cast<std::size_t>(
            std::count(windows.peersCreated.begin(), windows.peersCreated.end(), window));
    }

    void ExpectFreshSetupWindowShown() {
        std::vector<std::string> intervals;
        for (int minutes = 1; minutes <= 60; ++minutes) {
            intervals.push_back(std::to_string(minutes));
        }
        EXPECT_TRUE(setup.IsVisible());
        EXPECT_EQ(setup.Combo1().Text(), "Time Frames");
        EXPECT_EQ(setup.Combo2().Text(), "Alert Time");
        EXPECT_EQ(setup.Combo1().Items(), intervals);
        EXPECT_EQ(setup.Combo2().Items(), (std::vector<std::string>{"20", "30", "40", "50", "60"}));
        EXPECT_TRUE(setup.Combo1().Enabled());
        EXPECT_TRUE(setup.Combo2().Enabled());
    }

    // Every window is gone, the window system was told once to end, no native window is left
    // alive, and time passing and waiting events bring no window back.
    void ExpectProgramEnded() {
        EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
        EXPECT_TRUE(program.runtime.HasEnded());
        EXPECT_EQ(windows.quitCount, 1);
        EXPECT_EQ(windows.livePeers, 0);
        const std::size_t peers = windows.peersCreated.size();
        RunTimerFor(60'000);
        windows.ProcessPendingEvents();
        EXPECT_EQ(windows.peersCreated.size(), peers);
        EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
        EXPECT_EQ(windows.quitCount, 1);
    }
};

}  // namespace brindle
