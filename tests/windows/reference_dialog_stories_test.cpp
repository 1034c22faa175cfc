#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {
namespace {

const DateTime kDesignPickerValue = MakeDateTime(2003, 11, 20, 0, 0, 0);

class ReferenceDialogStories : public ::testing::Test, public ProgramFixture {};

TEST_F(ReferenceDialogStories, ReferanceOnFirstScreenOpensOneDialogAtDesignTime) {
    // The user right-clicks the first screen and chooses "Referance".
    ChooseOnCountDown("mnuReferance");

    // The dialog opens beside the countdown with the picker at 20 November 2003, midnight.
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.DTPicker1().Value(), kDesignPickerValue);
    EXPECT_TRUE(countDown.IsVisible());

    // The user edits the time and chooses "Referance" once more: still the same dialog, with
    // the edited time.
    PickReferenceTime(10, 7, 0);
    ChooseOnCountDown("mnuReferance");
    EXPECT_EQ(dialog.LoadCount(), 1u);
    EXPECT_EQ(PeersCreatedFor("frmRef"), 1u);
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 10, 7, 0));
}

TEST_F(ReferenceDialogStories, OkWhileRunningRestartsFromThePickedTimeOfDay) {
    // The user runs a 15-minute countdown, which reads the dialog without showing it.
    StartCountdown("15");
    ASSERT_TRUE(dialog.IsLoaded());
    ASSERT_FALSE(dialog.IsVisible());

    // The user chooses "Referance": the same dialog comes up at the time the countdown uses.
    ChooseOnCountDown("mnuReferance");
    EXPECT_EQ(dialog.LoadCount(), 1u);
    EXPECT_EQ(dialog.DTPicker1().Value(), kDesignPickerValue);

    // The user sets 10:07:00 and presses "Ok": the dialog is gone, the countdown stays shown.
    PickReferenceTime(10, 7, 0);
    PressOk();
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");

    // The boundaries now fall at 07, 22, 37 and 52 minutes past the hour.
    EXPECT_EQ(TickAt(10, 20, 0), "02:00");
    EXPECT_EQ(TickAt(10, 22, 0), "15:00");
    EXPECT_EQ(TickAt(10, 36, 59), "00:01");
    EXPECT_EQ(TickAt(11, 6, 45), "00:15");

    // Opening the dialog again shows the design time, while the countdown still counts from
    // 10:07:00.
    ChooseOnCountDown("mnuReferance");
    EXPECT_EQ(dialog.LoadCount(), 2u);
    EXPECT_EQ(dialog.DTPicker1().Value(), kDesignPickerValue);
    EXPECT_EQ(TickAt(11, 20, 0), "02:00");
}

TEST_F(ReferenceDialogStories, OkOnFirstScreenStartsACountdownWithNoPeriod) {
    // Before any interval, the user opens the dialog and presses "Ok".
    ChooseOnCountDown("mnuReferance");
    PressOk();

    // The setup window was read without being shown: its list text gives no interval.
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(setup.IsLoaded());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_EQ(countDown.IntervalMinutes, 0);

    // The countdown shows dashes and never warns, however long it runs.
    RunTimerFor(20 * 60'000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "--:--");
    EXPECT_EQ(SoundsPlayed(), 0u);
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
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
    EXPECT_EQ(TickAt(10, 20, 0), "10:00");
}

TEST_F(ReferenceDialogStories, ChangeTimeWithDialogOpenClosesItAndForgetsTheEditedTime) {
    // The user runs a countdown, opens the dialog, sets 10:07:00 and, without "Ok", chooses
    // "Change Time".
    StartCountdown("15");
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    ChooseOnCountDown("mnuCT");

    // The dialog is gone with the countdown window.
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_FALSE(countDown.IsLoaded());
    ExpectFreshSetupWindowShown();

    // The next interval counts from midnight.
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_EQ(TickAt(10, 20, 0), "10:00");
}

}  // namespace
}  // namespace brindle
