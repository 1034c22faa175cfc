#include <gtest/gtest.h>

#include "story_fixture.h"

namespace brindle {
namespace {

class OneCountdownStory : public ::testing::Test, public StoryFixture {};

TEST_F(OneCountdownStory, FromFirstScreenThroughWarningRestartAndChangeTimeToExit) {
    // The program starts at 10:00:00 with the idle countdown window.
    ASSERT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.lblCountDown().Caption(), "");

    // The user right-clicks it and chooses "Change Time": the setup window comes up fresh.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
    EXPECT_FALSE(countDown.IsLoaded());

    // The user picks a lead of 40 seconds.
    windows.PickItem(setup, "Combo2", "40");
    EXPECT_FALSE(setup.Combo2().Enabled());
    EXPECT_FALSE(countDown.IsVisible());

    // The user picks an interval of 10 minutes: the countdown window takes over.
    windows.PickItem(setup, "Combo1", "10");
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "10 Min");

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
    ASSERT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(os.CallsOf("PlaySoundA")[0].text, "S_Timer.wav");
    EXPECT_EQ(PausesTaken(), 14u);

    // Past the boundary a new period starts and the next warning waits for it.
    clock.Set(10, 10, 0);
    RunTimerFor(250);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "10:00");
    EXPECT_EQ(SoundsPlayed(), 1u);

    // The user chooses "Referance", sets 10:03:00 and presses "Ok".
    ChooseOnCountDown("mnuReferance");
    EXPECT_TRUE(dialog.IsVisible());
    PickReferenceTime(10, 3, 0);
    PressOk();
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.Label1().Caption(), "10 Min");

    // The periods now end at 10:13:00, and the lead of 40 seconds still holds.
    RunTimerFor(250);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "03:00");
    clock.Set(10, 12, 19);
    RunTimerFor(1000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:40");
    EXPECT_EQ(SoundsPlayed(), 2u);

    // The user chooses "Change Time": back to a fresh setup window, nothing else loaded.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);

    // The user chooses "Exit App" on the setup window: the program ends.
    ChooseOnSetup("mnuExit");
    ExpectProgramEnded();
    ExpectNothingLoadedAgain();
}

}  // namespace
}  // namespace brindle
