#include <gtest/gtest.h>

#include "story_fixture.h"

namespace brindle {
namespace {

class SetupWindowStories : public ::testing::Test, public StoryFixture {};

TEST_F(SetupWindowStories, FirstScreenShowsOnlyTheIdleCountdownWindow) {
    // The user starts the program.

    // Only the countdown window is there, empty, with its design caption beneath and no timer.
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_FALSE(setup.IsLoaded());
    EXPECT_FALSE(menuCarrier.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "");
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());
}

TEST_F(SetupWindowStories, ChangeTimeFromFirstScreenShowsFreshSetupWindowOnce) {
    // The user right-clicks the countdown and chooses "Change Time".
    ChooseOnCountDown("mnuCT");

    // The setup window comes up fresh, on top, and the countdown window is gone.
    ExpectFreshSetupWindowShown();
    EXPECT_FALSE(countDown.IsLoaded());
    const auto topMost = os.CallsOf("SetWindowPos");
    ASSERT_FALSE(topMost.empty());
    EXPECT_EQ(topMost.back().arguments[0], setup.hWnd());
    EXPECT_EQ(topMost.back().arguments[1], HWND_TOPMOST);

    // The user chooses "Change Time" again, now from the setup window.
    ChooseOnSetup("mnuCT");

    // Still one setup window with its lists filled once.
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
    EXPECT_TRUE(countDown.IsLoaded());
    EXPECT_FALSE(countDown.IsVisible());
    EXPECT_EQ(countDown.alert().Text(), "30");

    // The user picks an interval of 15 minutes.
    windows.PickItem(setup, "Combo1", "15");

    // The countdown window comes up labelled "15 Min" and the setup window goes away.
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");
    EXPECT_TRUE(setup.IsLoaded());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_FALSE(setup.Combo2().Enabled());
    EXPECT_TRUE(setup.Combo1().Enabled());

    // Time runs up to half a minute before the quarter hour.
    clock.Set(10, 14, 29);
    RunTimerFor(750);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:31");
    EXPECT_EQ(SoundsPlayed(), 0u);
    RunTimerFor(250);

    // The warning sounds at 00:30, once, and not again at the design lead of 20 seconds.
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:30");
    EXPECT_EQ(SoundsPlayed(), 1u);
    RunTimerFor(20'000);
    EXPECT_EQ(SoundsPlayed(), 1u);
}

TEST_F(SetupWindowStories, PickingIntervalFirstKeepsDesignLeadAndLocksLeadList) {
    // The user opens the setup window and picks an interval of 5 minutes straight away.
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo1", "5");

    // The lead stays at 20 seconds and can no longer be picked; the interval list stays open.
    EXPECT_EQ(countDown.alert().Text(), "20");
    EXPECT_FALSE(setup.Combo2().Enabled());
    EXPECT_TRUE(setup.Combo1().Enabled());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "5 Min");

    // A pick on the locked list does nothing.
    windows.PickItem(setup, "Combo2", "50");
    EXPECT_EQ(countDown.alert().Text(), "20");

    // The warning comes 20 seconds before the five-minute boundary.
    clock.Set(10, 4, 39);
    RunTimerFor(1000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:20");
    EXPECT_EQ(SoundsPlayed(), 1u);
}

TEST_F(SetupWindowStories, TypingIntoTheListsStartsNothing) {
    // The user opens the setup window and types into both lists' text fields.
    ChooseOnCountDown("mnuCT");
    windows.TypeText(setup, "Combo1", "15");
    windows.TypeText(setup, "Combo2", "40");

    // Nothing starts: no countdown window, both lists still open, the setup window still there.
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_TRUE(setup.IsVisible());
    EXPECT_TRUE(setup.Combo1().Enabled());
    EXPECT_TRUE(setup.Combo2().Enabled());
    RunTimerFor(5'000);
    EXPECT_FALSE(countDown.IsLoaded());
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
    clock.Set(10, 14, 49);
    RunTimerFor(1000);
    EXPECT_EQ(SoundsPlayed(), 0u);
    clock.Set(10, 14, 39);
    RunTimerFor(1000);
    EXPECT_EQ(SoundsPlayed(), 1u);
}

TEST_F(SetupWindowStories, ClosingSetupWindowWhileCountdownIsHiddenEndsTheProgram) {
    // The user opens the setup window, picks a lead (which loads the countdown window hidden)
    // and closes the setup window from the window manager.
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "30");
    ASSERT_TRUE(countDown.IsLoaded());
    ASSERT_FALSE(countDown.IsVisible());
    setup.UserClose();

    // Nothing would be left on screen, so the program ends as "Exit App" would.
    ExpectProgramEnded();
    ExpectNothingLoadedAgain();
}

TEST_F(SetupWindowStories, ClosingSetupWindowWithNothingElseLoadedEndsTheProgram) {
    // The user opens the setup window and closes it from the window manager.
    ChooseOnCountDown("mnuCT");
    setup.UserClose();

    // The setup window was the last window; the menu carrier goes with it.
    ExpectProgramEnded();
}

TEST_F(SetupWindowStories, ClosingHiddenSetupWindowBesideShownCountdownClosesOnlyTheSetupWindow) {
    // The user starts a 15-minute countdown; the setup window stays loaded behind it.
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo1", "15");
    ASSERT_TRUE(setup.IsLoaded());

    // A close request reaches the setup window from outside the program.
    setup.UserClose();

    // Only the setup window (and the hidden dialog it closes) goes; the countdown runs on.
    EXPECT_FALSE(setup.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(windows.quitCount, 0);
    TickAt(10, 7, 30);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:30");
    EXPECT_EQ(countDown.Label1().Caption(), "15 Min");

    // "Change Time" still brings back a fresh setup window.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
}

}  // namespace
}  // namespace brindle
