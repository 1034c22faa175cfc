#include <gtest/gtest.h>

#include "story_fixture.h"

namespace brindle {
namespace {

const DateTime kDesignPickerValue = MakeDateTime(2003, 11, 20, 0, 0, 0);

class ReferenceDialogStories : public ::testing::Test, public StoryFixture {
protected:
    void StartFifteenMinuteCountdown() {
        ChooseOnCountDown("mnuCT");
        windows.PickItem(setup, "Combo1", "15");
    }
};

TEST_F(ReferenceDialogStories, ReferanceOnFirstScreenOpensDialogAtDesignTime) {
    // The user right-clicks the first screen and chooses "Referance".
    ChooseOnCountDown("mnuReferance");

    // The dialog opens with the picker at 20 November 2003, midnight, inside its full range.
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.DTPicker1().Value(), kDesignPickerValue);
    EXPECT_EQ(dialog.DTPicker1().MinDate(), MakeDateTime(1601, 1, 1, 0, 0, 0));
    EXPECT_EQ(dialog.DTPicker1().MaxDate(), MakeDateTime(9999, 12, 31, 0, 0, 0));
    EXPECT_TRUE(countDown.IsVisible());
}

TEST_F(ReferenceDialogStories, ReferanceAgainKeepsTheOneOpenDialogAndItsValue) {
    // The user opens the dialog, edits the time, and chooses "Referance" once more.
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    ChooseOnCountDown("mnuReferance");

    // Still the same dialog, with the edited time.
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.LoadCount(), 1u);
    EXPECT_EQ(PeersCreatedFor("frmRef"), 1u);
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 10, 7, 0));
}

TEST_F(ReferenceDialogStories, ReferanceWhileRunningShowsTheDialogTheCountdownReadFrom) {
    // The user starts a countdown, which reads the dialog without showing it.
    StartFifteenMinuteCountdown();
    ASSERT_TRUE(dialog.IsLoaded());
    ASSERT_FALSE(dialog.IsVisible());

    // The user chooses "Referance".
    ChooseOnCountDown("mnuReferance");

    // The same dialog comes up, not a new one, at the time the countdown uses.
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.LoadCount(), 1u);
    EXPECT_EQ(dialog.DTPicker1().Value(), kDesignPickerValue);
}

TEST_F(ReferenceDialogStories, OkWhileRunningRestartsFromThePickedTimeOfDay) {
    // The user runs a 15-minute countdown, opens the dialog, sets 10:07:00 and presses "Ok".
    StartFifteenMinuteCountdown();
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    PressOk();

    // The dialog is gone; the countdown window stays shown with its caption.
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");
    EXPECT_TRUE(countDown.tmrDisplayTime().Enabled());

    // The boundaries now fall at 07, 22, 37 and 52 minutes past the hour.
    TickAt(10, 20, 0);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "02:00");
    TickAt(10, 22, 0);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "15:00");
    TickAt(10, 36, 59);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:01");
    TickAt(10, 51, 30);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:30");
    TickAt(11, 6, 45);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:15");

    // And the warning comes 20 seconds before 11:22.
    clock.Set(11, 21, 39);
    RunTimerFor(750);
    const std::size_t earlierSounds = SoundsPlayed();
    RunTimerFor(250);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:20");
    EXPECT_EQ(SoundsPlayed(), earlierSounds + 1);
}

TEST_F(ReferenceDialogStories, OkOnFirstScreenStartsACountdownWithNoPeriod) {
    // Before any interval, the user opens the dialog and presses "Ok".
    ChooseOnCountDown("mnuReferance");
    PressOk();

    // The setup window was read without being shown: its list text gives no interval.
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(setup.IsLoaded());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_EQ(setup.Combo1().Text(), "Time Frames");
    EXPECT_EQ(countDown.IntervalMinutes, 0);

    // The countdown shows dashes and never warns, however long it runs.
    RunTimerFor(20 * 60'000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "--:--");
    EXPECT_EQ(SoundsPlayed(), 0u);
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_EQ(windows.quitCount, 0);
}

TEST_F(ReferenceDialogStories, OkNeverShowsAnUnloadedCountdownWindow) {
    // The user opens the setup window, opens the dialog from it, sets a time and presses "Ok".
    ChooseOnCountDown("mnuCT");
    ChooseOnSetup("mnuReferance");
    PickReferenceTime(10, 7, 0);
    PressOk();

    // The countdown window was loaded to restart, but stays hidden; the setup window stays.
    EXPECT_TRUE(countDown.IsLoaded());
    EXPECT_FALSE(countDown.IsVisible());
    EXPECT_TRUE(setup.IsVisible());
    EXPECT_FALSE(dialog.IsLoaded());

    // The dialog keeps its time only while loaded: the interval picked next counts from
    // midnight again.
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_TRUE(countDown.IsVisible());
    TickAt(10, 20, 0);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "10:00");
}

TEST_F(ReferenceDialogStories, EveryOpeningOfTheDialogStartsAtTheDesignTime) {
    // The user sets 10:07:00, presses "Ok", and opens the dialog again.
    StartFifteenMinuteCountdown();
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    PressOk();
    ChooseOnCountDown("mnuReferance");

    // The dialog shows the design time, while the countdown still counts from 10:07:00.
    EXPECT_EQ(dialog.LoadCount(), 2u);
    EXPECT_EQ(dialog.DTPicker1().Value(), kDesignPickerValue);
    TickAt(10, 20, 0);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "02:00");
}

TEST_F(ReferenceDialogStories, ChangeTimeWithDialogOpenClosesItAndForgetsTheEditedTime) {
    // The user runs a countdown, opens the dialog, sets 10:07:00 and, without "Ok", chooses
    // "Change Time".
    StartFifteenMinuteCountdown();
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    ChooseOnCountDown("mnuCT");

    // The dialog is gone with the countdown window.
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_FALSE(countDown.IsLoaded());
    ExpectFreshSetupWindowShown();

    // The next interval counts from midnight.
    windows.PickItem(setup, "Combo1", "15");
    TickAt(10, 20, 0);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "10:00");
}

TEST_F(ReferenceDialogStories, ChangeTimeForgetsATimeConfirmedWithOk) {
    // The user restarts a countdown from 10:07:00 with "Ok", then chooses "Change Time".
    StartFifteenMinuteCountdown();
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    PressOk();
    TickAt(10, 20, 0);
    ASSERT_EQ(countDown.lblCountDown().Caption(), "02:00");
    ChooseOnCountDown("mnuCT");

    // The next interval counts from midnight again.
    windows.PickItem(setup, "Combo1", "15");
    TickAt(10, 20, 0);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "10:00");
}

}  // namespace
}  // namespace brindle
