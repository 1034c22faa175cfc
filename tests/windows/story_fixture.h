#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {

// The program on the fakes together with the gestures a user makes, so that a story reads as the
// user's steps and not as calls into the windows.
struct StoryFixture : ProgramFixture {
    brindle::frmCountDown& countDown = program.frmCountDown;
    brindle::Form1& setup = program.Form1;
    brindle::frmMenu& menuCarrier = program.frmMenu;
    brindle::frmRef& dialog = program.frmRef;

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

    // The user edits the dialog's picker to a time of day; the date part plays no role.
    void PickReferenceTime(int hour, int minute, int second) {
        dialog.DTPicker1().AcceptUserValue(MakeDateTime(2003, 11, 20, hour, minute, second));
    }
    void PressOk() { dialog.Command1().SetValue(true); }

    // Moves the wall clock to a time on the fixture's day and lets one timer tick run, as a tick
    // arriving at that moment would. A countdown window that is not loaded gets no tick.
    void TickAt(int hour, int minute, int second) {
        clock.Set(hour, minute, second);
        if (countDown.IsLoaded()) {
            windows.FireTimer(countDown, "tmrDisplayTime");
        }
    }

    std::size_t SoundsPlayed() const { return os.CallsOf("PlaySoundA").size(); }
    std::size_t PausesTaken() const { return os.CallsOf("Sleep").size(); }

    std::size_t PeersCreatedFor(const std::string& window) const {
        return static_cast<std::size_t>(
            std::count(windows.peersCreated.begin(), windows.peersCreated.end(), window));
    }

    // The items of the interval list as a fresh setup window has them.
    static std::vector<std::string> IntervalItems() {
        std::vector<std::string> items;
        for (int minutes = 1; minutes <= 60; ++minutes) {
            items.push_back(std::to_string(minutes));
        }
        return items;
    }

    void ExpectFreshSetupWindowShown() {
        EXPECT_TRUE(setup.IsVisible());
        EXPECT_EQ(setup.Combo1().Text(), "Time Frames");
        EXPECT_EQ(setup.Combo2().Text(), "Alert Time");
        EXPECT_EQ(setup.Combo1().Items(), IntervalItems());
        EXPECT_EQ(setup.Combo2().Items(), (std::vector<std::string>{"20", "30", "40", "50", "60"}));
        EXPECT_TRUE(setup.Combo1().Enabled());
        EXPECT_TRUE(setup.Combo2().Enabled());
    }

    // Every window is gone, the window system was told once to end, and no native window is
    // left alive.
    void ExpectProgramEnded() {
        EXPECT_FALSE(countDown.IsLoaded());
        EXPECT_FALSE(setup.IsLoaded());
        EXPECT_FALSE(menuCarrier.IsLoaded());
        EXPECT_FALSE(dialog.IsLoaded());
        EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
        EXPECT_TRUE(program.runtime.HasEnded());
        EXPECT_EQ(windows.quitCount, 1);
        EXPECT_EQ(windows.livePeers, 0);
    }

    // After the end, time passing and waiting events bring no window back.
    void ExpectNothingLoadedAgain() {
        const std::size_t peers = windows.peersCreated.size();
        RunTimerFor(60'000);
        windows.ProcessPendingEvents();
        EXPECT_EQ(windows.peersCreated.size(), peers);
        EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
        EXPECT_EQ(windows.quitCount, 1);
    }
};

}  // namespace brindle
