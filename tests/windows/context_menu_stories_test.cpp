#include <cstdint>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "story_fixture.h"

namespace brindle {
namespace {

class ContextMenuStories : public ::testing::Test, public StoryFixture {
protected:
    // A 15-minute countdown from the first screen, as the user starts one.
    void StartFifteenMinuteCountdown() {
        ChooseOnCountDown("mnuCT");
        windows.PickItem(setup, "Combo1", "15");
    }
};

TEST_F(ContextMenuStories, MenuClosedWithoutChoiceChangesNothing) {
    // The user right-clicks the running countdown and closes the menu without choosing.
    StartFifteenMinuteCountdown();
    windows.ClearRecords();
    windows.PressLabel(countDown, "lblCountDown", MouseButton::Right);

    // The menu came up on the countdown window; everything else is as before.
    ASSERT_EQ(windows.popups.size(), 1u);
    EXPECT_EQ(windows.popups[0].window, "frmCountDown");
    EXPECT_EQ(windows.popups[0].menu, "mnuMenu");
    EXPECT_TRUE(windows.updates.empty());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_TRUE(menuCarrier.IsLoaded());
    EXPECT_FALSE(menuCarrier.IsVisible());
    EXPECT_TRUE(countDown.tmrDisplayTime().Enabled());
}

TEST_F(ContextMenuStories, ChoosingTheSeparatorDoesNothing) {
    // The user right-clicks the countdown and clicks the separator line.
    ChooseOnCountDown("mnuFileBar0");

    // Nothing happens: the first screen stays as it was.
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_FALSE(setup.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(windows.quitCount, 0);
}

TEST_F(ContextMenuStories, ChangeTimeWhileRunningBringsBackFreshSetupWindow) {
    // The user runs a 15-minute countdown and chooses "Change Time" on it.
    StartFifteenMinuteCountdown();
    ChooseOnCountDown("mnuCT");

    // The countdown window and every helper window are gone; the setup window is fresh.
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_FALSE(menuCarrier.IsLoaded());
    EXPECT_FALSE(dialog.IsLoaded());
    ExpectFreshSetupWindowShown();
    EXPECT_EQ(setup.LoadCount(), 2u);
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
}

TEST_F(ContextMenuStories, ReferanceFromSetupWindowOpensDialogBesideIt) {
    // The user opens the setup window and chooses "Referance" on it.
    ChooseOnCountDown("mnuCT");
    ChooseOnSetup("mnuReferance");

    // The dialog opens at the design time and the setup window stays.
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 0, 0, 0));
    EXPECT_TRUE(setup.IsVisible());
    ASSERT_EQ(windows.popups.size(), 2u);
    EXPECT_EQ(windows.popups[1].window, "Form1");
}

// How the user reaches a state before choosing "Exit App", and which window's label is pressed.
struct ExitCase {
    const char* name;
    std::function<void(StoryFixture&)> reach;
    enum class From { CountDown, Setup } from;
};

void OpenSetup(StoryFixture& f) {
    f.ChooseOnCountDown("mnuCT");
}

void StartRunning(StoryFixture& f) {
    OpenSetup(f);
    f.windows.PickItem(f.setup, "Combo1", "15");
    f.TickAt(10, 3, 0);
}

const ExitCase kExitCases[] = {
    {"FirstScreen", [](StoryFixture&) {}, ExitCase::From::CountDown},
    {"FirstScreenAfterMenuClosedUnchosen",
     [](StoryFixture& f) { f.windows.PressLabel(f.countDown, "Label1", MouseButton::Right); },
     ExitCase::From::CountDown},
    {"DialogOpenOnFirstScreen", [](StoryFixture& f) { f.ChooseOnCountDown("mnuReferance"); },
     ExitCase::From::CountDown},
    {"AfterOkOnFirstScreen",
     [](StoryFixture& f) {
         f.ChooseOnCountDown("mnuReferance");
         f.PressOk();
     },
     ExitCase::From::CountDown},
    {"SetupShown", OpenSetup, ExitCase::From::Setup},
    {"SetupShownWithTypedText",
     [](StoryFixture& f) {
         OpenSetup(f);
         f.windows.TypeText(f.setup, "Combo1", "15");
     },
     ExitCase::From::Setup},
    {"LeadPicked",
     [](StoryFixture& f) {
         OpenSetup(f);
         f.windows.PickItem(f.setup, "Combo2", "30");
     },
     ExitCase::From::Setup},
    {"DialogOpenOverSetup",
     [](StoryFixture& f) {
         OpenSetup(f);
         f.ChooseOnSetup("mnuReferance");
     },
     ExitCase::From::Setup},
    {"DialogConfirmedOverSetup",
     [](StoryFixture& f) {
         OpenSetup(f);
         f.ChooseOnSetup("mnuReferance");
         f.PressOk();
     },
     ExitCase::From::Setup},
    {"Running", StartRunning, ExitCase::From::CountDown},
    {"DialogOpenWhileRunning",
     [](StoryFixture& f) {
         StartRunning(f);
         f.ChooseOnCountDown("mnuReferance");
     },
     ExitCase::From::CountDown},
    {"RestartedByOk",
     [](StoryFixture& f) {
         StartRunning(f);
         f.ChooseOnCountDown("mnuReferance");
         f.PickReferenceTime(10, 7, 0);
         f.PressOk();
     },
     ExitCase::From::CountDown},
    {"AfterAlert",
     [](StoryFixture& f) {
         StartRunning(f);
         f.clock.Set(10, 14, 39);
         f.RunTimerFor(5'000);
     },
     ExitCase::From::CountDown},
};

class ExitAppStories : public ::testing::TestWithParam<ExitCase>, public StoryFixture {};

TEST_P(ExitAppStories, ExitAppClosesEveryWindowAndEndsTheProgramOnce) {
    // The user gets the program into the state.
    GetParam().reach(*this);
    ASSERT_EQ(windows.quitCount, 0);

    // The user right-clicks the window on screen and chooses "Exit App".
    if (GetParam().from == ExitCase::From::CountDown) {
        ASSERT_TRUE(countDown.IsVisible());
        ChooseOnCountDown("mnuExit");
    } else {
        ASSERT_TRUE(setup.IsVisible());
        ChooseOnSetup("mnuExit");
    }

    // Every window is gone, the program ends, and nothing comes back.
    ExpectProgramEnded();
    ExpectNothingLoadedAgain();
}

INSTANTIATE_TEST_SUITE_P(EveryReachableState, ExitAppStories, ::testing::ValuesIn(kExitCases),
                         [](const ::testing::TestParamInfo<ExitCase>& info) {
                             return std::string(info.param.name);
                         });

// The alert's pauses, numbered from 1 to 14; the parameter is the pause during which the user
// acts.
class AlertPauseStories : public ::testing::TestWithParam<int>, public StoryFixture {
protected:
    // Starts a 15-minute countdown and arranges for the action to be waiting when the alert
    // takes its pause number GetParam().
    void DuringPause(std::function<void()> action) {
        ChooseOnCountDown("mnuCT");
        windows.PickItem(setup, "Combo1", "15");
        os.onSleep = [this, action = std::move(action), pauses = 0](std::int32_t) mutable {
            if (++pauses == GetParam()) {
                windows.Post(action);
            }
        };
        clock.Set(10, 14, 39);
    }
};

TEST_P(AlertPauseStories, ExitAppDuringAlertEndsTheProgramAndTheAlert) {
    // The user starts a countdown; when its warning flashes, the user right-clicks the flashing
    // window during the pause and chooses "Exit App".
    DuringPause([this] { ChooseOnCountDown("mnuExit"); });
    RunTimerFor(1000);

    // The alert stopped at that pause, every window is gone and the program ends once.
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(GetParam()));
    ExpectProgramEnded();
    ExpectNothingLoadedAgain();
    EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(GetParam()));
}

TEST_P(AlertPauseStories, ChangeTimeDuringAlertEndsTheAlertAndShowsFreshSetupWindow) {
    // The user starts a countdown; when its warning flashes, the user chooses "Change Time"
    // during the pause.
    std::size_t updatesAfterChange = 0;
    std::size_t countDownPeers = 0;
    DuringPause([&] {
        ChooseOnCountDown("mnuCT");
        updatesAfterChange = windows.updates.size();
        countDownPeers = PeersCreatedFor("frmCountDown");
    });
    RunTimerFor(1000);

    // The alert stopped at that pause without touching the countdown window again.
    EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(GetParam()));
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_EQ(PeersCreatedFor("frmCountDown"), countDownPeers);
    for (std::size_t i = updatesAfterChange; i < windows.updates.size(); ++i) {
        EXPECT_NE(windows.updates[i].window, "frmCountDown") << "update " << i;
    }

    // The setup window is fresh and the program goes on.
    ExpectFreshSetupWindowShown();
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);

    // The user picks 15 minutes again: a new countdown starts in normal colours and lead.
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.alert().Text(), "20");
    EXPECT_EQ(countDown.lblCountDown().ForeColor(), 0x0000FFFFu);
    EXPECT_EQ(countDown.lblCountDown().BackColor(), 0x00FF8000u);
}

INSTANTIATE_TEST_SUITE_P(EveryPause, AlertPauseStories,
                         ::testing::Range(1, frmCountDown::kAlertPauses + 1));

}  // namespace
}  // namespace brindle
