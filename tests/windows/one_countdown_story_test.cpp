#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

class OneCountdownStory : public ::testing::Test, public ProgramFixture {
protected:
    // The colour properties the peers were told about, as "control.property", in order.
    std::vector<std::string> ColourUpdates() const {
        std::vector<std::string> result;
        for (const PeerUpdate& update : windows.updates) {
            if (update.property == Property::ForeColor) {
                result.push_back(update.control + ".ForeColor");
            } else if (update.property == Property::BackColor && !update.control.empty()) {
                result.push_back(update.control + ".BackColor");
            }
        }
        return result;
    }
};

TEST_F(OneCountdownStory, FromFirstScreenThroughWarningRestartAndChangeTimeToExit) {
    // The program starts at 10:00:00 with only the idle countdown window: empty, with its design
    // caption beneath, the normal colours applied in their fixed order, no timer running, and put
    // on top once without moving or resizing.
    ASSERT_TRUE(countDown.IsVisible());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "");
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());
    EXPECT_EQ(ColourUpdates(),
              (std::vector<std::string>{"lblCountDown.ForeColor", "lblCountDown.BackColor",
                                        "Label1.ForeColor", "Label1.BackColor"}));
    EXPECT_EQ(countDown.lblCountDown().ForeColor(), 0x0000FFFFu);
    EXPECT_EQ(countDown.lblCountDown().BackColor(), 0x00FF8000u);
    EXPECT_EQ(countDown.Label1().ForeColor(), 0x00FF8000u);
    EXPECT_EQ(countDown.Label1().BackColor(), 0x00C0C0C0u);
    const auto zOrder = os.CallsOf("SetWindowPos");
    ASSERT_EQ(zOrder.size(), 1u);
    EXPECT_EQ(zOrder[0].arguments,
              (std::vector<std::int64_t>{countDown.hWnd(), kInsertTopMost, 0, 0, 0, 0, 3}));

    // The user right-clicks it and chooses "Change Time": the setup window comes up fresh and
    // on top, and the countdown window is gone.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_EQ(os.CallsOf("SetWindowPos").back().arguments[0], setup.hWnd());

    // The user picks a lead of 40 seconds, then an interval of 10 minutes: the countdown window
    // takes over, reading the reference time from the dialog loaded hidden for it.
    windows.PickItem(setup, "Combo2", "40");
    EXPECT_FALSE(countDown.IsVisible());
    windows.PickItem(setup, "Combo1", "10");
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "10 Min");
    EXPECT_EQ(countDown.IntervalMinutes, 10);
    EXPECT_EQ(countDown.ReferenceTime, MakeDateTime(2003, 11, 20, 0, 0, 0));
    EXPECT_TRUE(dialog.IsLoaded());
    EXPECT_FALSE(dialog.IsVisible());

    // The clock runs: the display counts down to the boundary at 10:10:00.
    RunTimerFor(1000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "09:59");
    clock.Set(10, 9, 19);
    RunTimerFor(750);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:41");
    EXPECT_EQ(SoundsPlayed(), 0u);

    // At 00:40 the chime plays once and the window flashes through its fourteen pauses.
    RunTimerFor(250);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:40");
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(PausesTaken(), 14u);
    EXPECT_EQ(TickAt(10, 9, 43), "00:17");
    EXPECT_EQ(SoundsPlayed(), 1u);

    // Past the boundary a new period starts and the next warning waits for it.
    EXPECT_EQ(TickAt(10, 10, 0), "10:00");

    // The dialog's picker is changed from outside: nothing moves until the countdown restarts.
    dialog.DTPicker1().SetValue(MakeDateTime(2003, 11, 20, 0, 5, 0));
    EXPECT_EQ(TickAt(10, 10, 1), "09:59");

    // The user chooses "Referance", sets 10:03:00 and presses "Ok".
    ChooseOnCountDown("mnuReferance");
    EXPECT_TRUE(dialog.IsVisible());
    PickReferenceTime(10, 3, 0);
    PressOk();
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "10 Min");

    // The periods now end at 10:13:00, and the lead of 40 seconds still holds.
    EXPECT_EQ(TickAt(10, 10, 2), "02:58");
    clock.Set(10, 12, 19);
    RunTimerFor(1000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:40");
    EXPECT_EQ(SoundsPlayed(), 2u);

    // The user stops the countdown: the display keeps its last value until it runs again.
    countDown.cmdStopTimer().SetValue(true);
    EXPECT_EQ(TickAt(10, 12, 30), "00:40");
    countDown.cmdStartTimer().SetValue(true);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:40");

    // The user chooses "Change Time": back to a fresh setup window, nothing else loaded.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
    EXPECT_EQ(setup.LoadCount(), 2u);
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);

    // The user chooses "Exit App" on the setup window: the program ends.
    ChooseOnSetup("mnuExit");
    ExpectProgramEnded();
}

}  // namespace
}  // namespace brindle
