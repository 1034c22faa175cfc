#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

constexpr Colour kYellow = 0x0000FFFF;
constexpr Colour kNormalBlue = 0x00FF8000;
constexpr Colour kGrey = 0x00C0C0C0;

class CountDownWindow : public ::testing::Test, public ProgramFixture {
protected:
    frmCountDown& countDown = program.frmCountDown;

    // Starts a countdown as picking an interval does, without the setup window's other steps.
    void StartWithInterval(const std::string& minutes) {
        program.Form1.Combo1().AcceptTypedText(minutes);
        countDown.cmdStartTimer().SetValue(true);
    }

    // One tick of the display timer at the given time of day; returns what the display shows.
    std::string TickAt(int hour, int minute, int second) {
        clock.Set(hour, minute, second);
        windows.FireTimer(countDown, "tmrDisplayTime");
        return countDown.lblCountDown().Caption();
    }

    std::size_t Sounds() const { return os.CallsOf("PlaySoundA").size(); }

    // The colour properties the peer was told about, as "control.property", in order.
    std::vector<std::string> ColourUpdates(std::size_t from = 0) const {
        std::vector<std::string> result;
        for (std::size_t i = from; i < windows.updates.size(); ++i) {
            const PeerUpdate& update = windows.updates[i];
            if (update.property == Property::ForeColor) {
                result.push_back(update.control + ".ForeColor");
            } else if (update.property == Property::BackColor && !update.control.empty()) {
                result.push_back(update.control + ".BackColor");
            }
        }
        return result;
    }
};

TEST_F(CountDownWindow, RoadOfOneCountdownFromStartToUnload) {
    // 1. The program has started at 10:00:00: the countdown window is on screen, the normal
    //    colours were applied in their fixed order and the window went on top once, without
    //    moving or resizing.
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(ColourUpdates(),
              (std::vector<std::string>{"lblCountDown.ForeColor", "lblCountDown.BackColor",
                                        "Label1.ForeColor", "Label1.BackColor"}));
    EXPECT_EQ(countDown.lblCountDown().ForeColor(), kYellow);
    EXPECT_EQ(countDown.lblCountDown().BackColor(), kNormalBlue);
    EXPECT_EQ(countDown.Label1().ForeColor(), kNormalBlue);
    EXPECT_EQ(countDown.Label1().BackColor(), kGrey);
    const auto zOrder = os.CallsOf("SetWindowPos");
    ASSERT_EQ(zOrder.size(), 1u);
    EXPECT_EQ(zOrder[0].arguments,
              (std::vector<std::int64_t>{countDown.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, 3}));
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());

    // 2. The user picks a 15-minute interval; the reference time is the picker's initial value,
    //    20 November 2003 at midnight, read from the reference dialog loaded hidden for it.
    program.Form1.Show();
    windows.PickItem(program.Form1, "Combo1", "15");
    EXPECT_EQ(countDown.IntervalMinutes, 15);
    EXPECT_EQ(countDown.ReferenceTime, MakeDateTime(2003, 11, 20, 0, 0, 0));
    EXPECT_TRUE(countDown.tmrDisplayTime().Enabled());
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");
    EXPECT_TRUE(program.frmRef.IsLoaded());
    EXPECT_FALSE(program.frmRef.IsVisible());

    // 3. Ticks show the time left to the next quarter hour.
    EXPECT_EQ(TickAt(10, 7, 30), "07:30");
    EXPECT_EQ(TickAt(10, 14, 39), "00:21");
    EXPECT_EQ(Sounds(), 0u);

    // 4. Twenty seconds before the boundary the warning sounds and the alert runs its pauses.
    EXPECT_EQ(TickAt(10, 14, 40), "00:20");
    EXPECT_EQ(Sounds(), 1u);
    EXPECT_EQ(os.CallsOf("Sleep").size(), 14u);
    EXPECT_EQ(TickAt(10, 14, 43), "00:17");
    EXPECT_EQ(Sounds(), 1u);

    // 5. At the boundary a full period starts again.
    EXPECT_EQ(TickAt(10, 15, 0), "15:00");

    // 6. The user sets a reference time of 00:05 and restarts the countdown: the boundaries
    //    move to five past each quarter hour.
    program.frmRef.DTPicker1().SetValue(MakeDateTime(2003, 11, 20, 0, 5, 0));
    EXPECT_EQ(TickAt(10, 15, 1), "14:59");
    countDown.cmdStopTimer().SetValue(true);
    countDown.cmdStartTimer().SetValue(true);
    EXPECT_EQ(countDown.ReferenceTime, MakeDateTime(2003, 11, 20, 0, 5, 0));
    EXPECT_EQ(TickAt(10, 15, 2), "04:58");
    EXPECT_EQ(TickAt(10, 19, 39), "00:21");
    EXPECT_EQ(TickAt(10, 19, 40), "00:20");
    EXPECT_EQ(Sounds(), 2u);
    EXPECT_EQ(TickAt(10, 30, 0), "05:00");

    // 7. Closing the countdown window closes every other window and ends the program.
    countDown.Unload();
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_FALSE(program.Form1.IsLoaded());
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_FALSE(program.frmMenu.IsLoaded());
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
}

TEST_F(CountDownWindow, EveryBoundaryOfAnHourWarnsOnceAtTheLeadWithNormalTicks) {
    std::vector<std::string> displayAtSound;
    os.onCall = [&](const DeclaredCall& call) {
        if (call.function == "PlaySoundA") {
            displayAtSound.push_back(countDown.lblCountDown().Caption());
        }
    };
    countDown.alert().SetText("40");
    StartWithInterval("15");

    RunTimerFor(3'600'000);

    EXPECT_EQ(displayAtSound, (std::vector<std::string>(4, "00:40")));
}

TEST_F(CountDownWindow, LeadTextThatIsNoPlainNumberNeverWarns) {
    for (const char* lead : {"020", " 20", "20 ", "0"}) {
        countDown.alert().SetText(lead);
        StartWithInterval("1");
        RunTimerFor(120'000);
        EXPECT_EQ(Sounds(), 0u) << '"' << lead << '"';
    }
}

TEST_F(CountDownWindow, IntervalWithoutPeriodShowsDashesAndNeverWarns) {
    for (const char* text : {"Time Frames", "0", "-5", "547", "32767"}) {
        StartWithInterval(text);
        RunTimerFor(120'000);
        EXPECT_EQ(countDown.lblCountDown().Caption(), "--:--") << text;
    }
    EXPECT_EQ(Sounds(), 0u);
}

TEST_F(CountDownWindow, LargestIntervalWithAPeriodStillCountsDown) {
    // A period of 32,760 s from midnight: at 10:00:01 there are 8 h 11 min 59 s left, and the
    // display drops the hours.
    StartWithInterval("546");
    EXPECT_EQ(TickAt(10, 0, 1), "11:59");
}

TEST_F(CountDownWindow, IntervalTooLargeForSixteenBitsLeavesRunningCountdownUnchanged) {
    StartWithInterval("15");
    TickAt(10, 7, 30);
    StartWithInterval("40000");
    EXPECT_EQ(countDown.IntervalMinutes, 15);
    EXPECT_TRUE(countDown.tmrDisplayTime().Enabled());
    EXPECT_EQ(TickAt(10, 7, 31), "07:29");
}

TEST_F(CountDownWindow, IntervalTextIsRoundedHalfToEven) {
    StartWithInterval("7.5");
    EXPECT_EQ(countDown.IntervalMinutes, 8);
    StartWithInterval("8.5");
    EXPECT_EQ(countDown.IntervalMinutes, 8);
}

TEST_F(CountDownWindow, StartLoadsSetupWindowHiddenToReadTheInterval) {
    ASSERT_FALSE(program.Form1.IsLoaded());
    countDown.cmdStartTimer().SetValue(true);
    EXPECT_TRUE(program.Form1.IsLoaded());
    EXPECT_FALSE(program.Form1.IsVisible());
    // The setup window's design text is no number, so the countdown has no period.
    EXPECT_EQ(countDown.IntervalMinutes, 0);
    EXPECT_EQ(TickAt(10, 0, 1), "--:--");
}

TEST_F(CountDownWindow, PickerChangeTakesEffectOnlyOnRestart) {
    StartWithInterval("15");
    program.frmRef.DTPicker1().SetValue(MakeDateTime(2003, 11, 20, 0, 5, 0));
    EXPECT_EQ(TickAt(10, 7, 30), "07:30");
    StartWithInterval("15");
    EXPECT_EQ(TickAt(10, 7, 30), "12:30");
}

TEST_F(CountDownWindow, RestartInsideLeadWaitsForTheNextBoundary) {
    StartWithInterval("15");
    TickAt(10, 14, 30);
    // Restarted ten seconds before the boundary: the tick before the restart does not count, so
    // this boundary passes without a warning.
    clock.Set(10, 14, 50);
    countDown.cmdStartTimer().SetValue(true);
    RunTimerFor(20'000);
    EXPECT_EQ(Sounds(), 0u);
    clock.Set(10, 29, 30);
    RunTimerFor(20'000);
    EXPECT_EQ(Sounds(), 1u);
}

TEST_F(CountDownWindow, StopKeepsLastDisplayAndRestartKeepsItUntilNextTick) {
    StartWithInterval("15");
    TickAt(10, 7, 30);
    countDown.cmdStopTimer().SetValue(true);
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());
    EXPECT_EQ(TickAt(10, 8, 0), "07:30");
    countDown.cmdStartTimer().SetValue(true);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:30");
    windows.FireTimer(countDown, "tmrDisplayTime");
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:00");
}

TEST_F(CountDownWindow, EitherLabelStartsMoveAndRightButtonOpensMenuOnThisWindow) {
    for (const char* label : {"lblCountDown", "Label1"}) {
        os.Clear();
        windows.ClearRecords();
        windows.PressLabel(countDown, label, MouseButton::Right);
        const auto messages = os.CallsOf("SendMessageA");
        ASSERT_EQ(messages.size(), 1u) << label;
        EXPECT_EQ(messages[0].arguments,
                  (std::vector<std::int64_t>{countDown.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0}));
        ASSERT_EQ(windows.popups.size(), 1u) << label;
        EXPECT_EQ(windows.popups[0].window, "frmCountDown");
        EXPECT_EQ(windows.popups[0].menu, "mnuMenu");
    }
    EXPECT_TRUE(program.frmMenu.IsLoaded());
    EXPECT_FALSE(program.frmMenu.IsVisible());
}

TEST_F(CountDownWindow, UnloadClosesEveryOtherWindowAndEndsProgram) {
    program.Form1.Show();
    program.frmRef.Show();
    program.frmMenu.Load();
    countDown.Unload();
    EXPECT_FALSE(program.Form1.IsLoaded());
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_FALSE(program.frmMenu.IsLoaded());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
}

TEST_F(CountDownWindow, ReloadAfterUnloadRestoresDesignValuesAndNormalColours) {
    countDown.alert().SetText("40");
    countDown.Label1().SetCaption("15 Min");
    countDown.dColors().SetValue(true);
    countDown.Unload();
    os.Clear();

    EXPECT_EQ(countDown.alert().Text(), "20");
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_EQ(countDown.lblCountDown().BackColor(), kNormalBlue);
    EXPECT_TRUE(countDown.IsLoaded());
    EXPECT_FALSE(countDown.IsVisible());
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());
    EXPECT_EQ(countDown.LoadCount(), 2u);
    // Form_Load runs again on the reload and puts the new window on top.
    EXPECT_EQ(os.CallsOf("SetWindowPos").size(), 1u);
}

}  // namespace
}  // namespace brindle
