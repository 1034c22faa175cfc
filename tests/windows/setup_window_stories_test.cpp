#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {
namespace {

class SetupWindowStories : public ::testing::Test, public ProgramFixture {};

TEST_F(SetupWindowStories, ChangeTimeFromFirstScreenShowsFreshSetupWindowOnce) {
    // The user starts the program: only the countdown window is there.
    EXPECT_FALSE(setup.IsLoaded());
    EXPECT_FALSE(menuCarrier.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());

    // The user chooses "Change Time" on the countdown, then again on the setup window.
    ChooseOnCountDown("mnuCT");
    ChooseOnSetup("mnuCT");

    // Still one setup window with its lists filled once, and no countdown window.
    ExpectFreshSetupWindowShown();
    EXPECT_EQ(setup.LoadCount(), 1u);
    EXPECT_EQ(PeersCreatedFor("Form1"), 1u);
    EXPECT_FALSE(countDown.IsLoaded());
}

TEST_F(SetupWindowStories, PickingLeadThenIntervalShowsCountdownThatWarnsAtLead) {
    // The user opens the setup window and picks a lead of 30 seconds.
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "30");

    // The lead list is locked; the countdown window holds the lead but is not shown yet.
    EXPECT_FALSE(setup.Combo2().Enabled());
    EXPECT_TRUE(setup.IsVisible());
    EXPECT_FALSE(countDown.IsVisible());
    EXPECT_EQ(countDown.alert().Text(), "30");

    // The user picks an interval of 15 minutes: the countdown comes up labelled "15 Min" and
    // the setup window hides with only its interval list open.
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");
    EXPECT_TRUE(setup.IsLoaded());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_FALSE(setup.Combo2().Enabled());
    EXPECT_TRUE(setup.Combo1().Enabled());

    // The warning sounds at 00:30, once, and not again at the design lead of 20 seconds.
    EXPECT_EQ(TickAt(10, 14, 29), "00:31");
    EXPECT_EQ(TickAt(10, 14, 30), "00:30");
    EXPECT_EQ(SoundsPlayed(), 1u);
    RunTimerFor(20'000);
    EXPECT_EQ(SoundsPlayed(), 1u);
}

TEST_F(SetupWindowStories, PickingIntervalFirstKeepsDesignLeadAndLocksLeadList) {
    // The user opens the setup window and picks an interval of 5 minutes straight away.
    StartCountdown("5");

    // The lead stays at 20 seconds and can no longer be picked; the interval list stays open.
    EXPECT_EQ(countDown.alert().Text(), "20");
    EXPECT_FALSE(setup.Combo2().Enabled());
    EXPECT_TRUE(setup.Combo1().Enabled());
    EXPECT_EQ(countDown.Label1().Caption(), "5 Min");

    // A pick on the locked list does nothing; the warning comes 20 seconds before the boundary.
    windows.PickItem(setup, "Combo2", "50");
    EXPECT_EQ(countDown.alert().Text(), "20");
    TickAt(10, 4, 39);
    EXPECT_EQ(TickAt(10, 4, 40), "00:20");
    EXPECT_EQ(SoundsPlayed(), 1u);
}

TEST_F(SetupWindowStories, TypingIntoTheListsStartsNothing) {
    // The user opens the setup window and types into both lists' text fields.
    ChooseOnCountDown("mnuCT");
    windows.TypeText(setup, "Combo1", "15");
    windows.TypeText(setup, "Combo2", "40");

    // Nothing starts: no countdown window, both lists still open.
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_TRUE(setup.IsVisible());
    EXPECT_TRUE(setup.Combo1().Enabled());
    EXPECT_TRUE(setup.Combo2().Enabled());
}

TEST_F(SetupWindowStories, ChangeTimeAfterPickingLeadForgetsTheLead) {
    // The user picks a lead of 50 seconds, then thinks again and chooses "Change Time".
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "50");
    ChooseOnSetup("mnuCT");

    // The setup window is fresh and the hidden countdown window is gone with its lead.
    ExpectFreshSetupWindowShown();
    EXPECT_EQ(setup.LoadCount(), 2u);
    EXPECT_FALSE(countDown.IsLoaded());

    // The user picks an interval of 15 minutes: the warning comes at the design lead.
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_EQ(countDown.alert().Text(), "20");
}

TEST_F(SetupWindowStories, ClosingSetupWindowWhileCountdownIsHiddenEndsTheProgram) {
    // The user opens the setup window, picks a lead (which loads the countdown window hidden)
    // and closes the setup window from the window manager.
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "30");
    ASSERT_TRUE(countDown.IsLoaded());
    setup.UserClose();

    // Nothing would be left on screen, so the program ends as "Exit App" would.
    ExpectProgramEnded();
}

TEST_F(SetupWindowStories, ClosingHiddenSetupWindowBesideShownCountdownClosesOnlyTheSetupWindow) {
    // The user starts a 15-minute countdown; the setup window stays loaded behind it, and a
    // close request reaches it from outside the program.
    StartCountdown("15");
    setup.UserClose();

    // Only the setup window (and the hidden dialog it closes) goes; the countdown runs on.
    EXPECT_FALSE(setup.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_EQ(TickAt(10, 7, 30), "07:30");

    // "Change Time" still brings back a fresh setup window.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
}

}  // namespace
}  // namespace brindle
