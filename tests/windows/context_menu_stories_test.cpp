#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {
namespace {

class ContextMenuStories : public ::testing::Test, public ProgramFixture {};

TEST_F(ContextMenuStories, MenuClosedWithoutChoiceChangesNothing) {
    // The user right-clicks the running countdown and closes the menu without choosing.
    StartCountdown("15");
    windows.ClearRecords();
    windows.PressLabel(countDown, "lblCountDown", MouseButton::Right);

    // The menu came up on the countdown window; everything else is as before.
    ASSERT_EQ(windows.popups.size(), 1u);
    EXPECT_EQ(windows.popups[0].window, "frmCountDown");
    EXPECT_TRUE(windows.updates.empty());
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_FALSE(setup.IsVisible());
    EXPECT_FALSE(menuCarrier.IsVisible());
    EXPECT_TRUE(countDown.tmrDisplayTime().Enabled());
}

TEST_F(ContextMenuStories, ReferanceFromSetupWindowOpensDialogBesideIt) {
    // The user opens the setup window and chooses "Referance" on it.
    ChooseOnCountDown("mnuCT");
    ChooseOnSetup("mnuReferance");

    // The dialog opens at the design time and the setup window stays.
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 0, 0, 0));
    EXPECT_TRUE(setup.IsVisible());
    EXPECT_EQ(windows.popups.back().window, "Form1");
}

// How the user reaches a state before choosing "Exit App", and which window's label is pressed.
enum class From { CountDown, Setup };
struct ExitCase {
    const char* name;
    std::function<void(ProgramFixture&)> reach;
    From from;
};

void OpenSetup(ProgramFixture& f) {
    f.ChooseOnCountDown("mnuCT");
}
void StartRunning(ProgramFixture& f) {
    f.StartCountdown("15");
    f.TickAt(10, 3, 0);
}
void OpenDialog(ProgramFixture& f) {
    f.ChooseOnCountDown("mnuReferance");
}

const ExitCase kExitCases[] = {
    {"FirstScreen", [](ProgramFixture&) {}, From::CountDown},
    {"FirstScreenAfterMenuClosedUnchosen",
     [](ProgramFixture& f) { f.windows.PressLabel(f.countDown, "Label1", MouseButton::Right); },
     From::CountDown},
    {"DialogOpenOnFirstScreen", OpenDialog, From::CountDown},
    {"AfterOkOnFirstScreen", [](ProgramFixture& f) { OpenDialog(f), f.PressOk(); },
     From::CountDown},
    {"SetupShown", OpenSetup, From::Setup},
    {"SetupShownWithTypedText",
     [](ProgramFixture& f) { OpenSetup(f), f.windows.TypeText(f.setup, "Combo1", "15"); },
     From::Setup},
    {"LeadPicked",
     [](ProgramFixture& f) { OpenSetup(f), f.windows.PickItem(f.setup, "Combo2", "30"); },
     From::Setup},
    {"DialogOpenOverSetup",
     [](ProgramFixture& f) { OpenSetup(f), f.ChooseOnSetup("mnuReferance"); }, From::Setup},
    {"DialogConfirmedOverSetup",
     [](ProgramFixture& f) { OpenSetup(f), f.ChooseOnSetup("mnuReferance"), f.PressOk(); },
     From::Setup},
    {"Running", StartRunning, From::CountDown},
    {"DialogOpenWhileRunning", [](ProgramFixture& f) { StartRunning(f), OpenDialog(f); },
     From::CountDown},
    {"RestartedByOk",
     [](ProgramFixture& f) {
         StartRunning(f), OpenDialog(f), f.PickReferenceTime(10, 7, 0), f.PressOk();
     },
     From::CountDown},
    {"AfterAlert",
     [](ProgramFixture& f) { StartRunning(f), f.clock.Set(10, 14, 39), f.RunTimerFor(5'000); },
     From::CountDown},
};

class ExitAppStories : public ::testing::TestWithParam<ExitCase>, public ProgramFixture {};

TEST_P(ExitAppStories, ExitAppClosesEveryWindowAndEndsTheProgramOnce) {
    // The user gets the program into the state.
    GetParam().reach(*this);
    ASSERT_EQ(windows.quitCount, 0);

    // The user right-clicks the window on screen and chooses "Exit App".
    Form& onScreen = GetParam().from == From::CountDown ? static_cast<Form&>(countDown) : setup;
    ASSERT_TRUE(onScreen.IsVisible());
    ChooseFromMenu(onScreen, GetParam().from == From::CountDown ? "lblCountDown" : "Label1",
                   "mnuExit");

    // Every window is gone, the program ends, and nothing comes back.
    ExpectProgramEnded();
}

INSTANTIATE_TEST_SUITE_P(EveryReachableState, ExitAppStories, ::testing::ValuesIn(kExitCases),
                         [](const auto& info) { return std::string(info.param.name); });

enum class MenuCommand { ChangeTime, ExitApp };

// The alert's pauses are numbered from 1 to 14; the user acts during one of them.
class AlertPauseStories : public ::testing::TestWithParam<std::tuple<int, MenuCommand>>,
                          public ProgramFixture {};

TEST_P(AlertPauseStories, MenuCommandDuringAlertPauseEndsTheAlertAtOnce) {
    const auto [pause, command] = GetParam();
    // The user runs a 15-minute countdown with the reference dialog open beside it.
    StartCountdown("15");
    OpenDialog(*this);

    // When the warning flashes, the user right-clicks the window during the pause and chooses
    // "Change Time" or "Exit App".
    std::size_t updatesAtCommand = 0;
    std::size_t peersAtCommand = 0;
    os.onSleep = [&, pauses = 0](std::int32_t) mutable {
        if (++pauses == pause) {
            windows.Post([&] {
                ChooseOnCountDown(command == MenuCommand::ExitApp ? "mnuExit" : "mnuCT");
                updatesAtCommand = windows.updates.size();
                peersAtCommand = windows.peersCreated.size();
            });
        }
    };
    TickAt(10, 14, 39);
    TickAt(10, 14, 40);
    os.onSleep = nullptr;

    // The alert stopped at that pause, touched no control of the countdown window again and
    // loaded nothing; the dialog and the menu carrier are gone.
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(pause));
    EXPECT_FALSE(countDown.IsLoaded());
    for (std::size_t i = updatesAtCommand; i < windows.updates.size(); ++i) {
        EXPECT_NE(windows.updates[i].window, "frmCountDown") << "update " << i;
    }
    EXPECT_EQ(windows.peersCreated.size(), peersAtCommand);
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_FALSE(menuCarrier.IsLoaded());
    if (command == MenuCommand::ExitApp) {
        ExpectProgramEnded();
        EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(pause));
        return;
    }

    // The fresh setup window is the one window left and the program goes on.
    ExpectFreshSetupWindowShown();
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
    EXPECT_EQ(windows.quitCount, 0);
    EXPECT_EQ(windows.livePeers, 1);

    // The user picks 15 minutes again: a new countdown in normal colours with the design lead,
    // whose next warning runs in full.
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_EQ(countDown.alert().Text(), "20");
    EXPECT_EQ(countDown.lblCountDown().ForeColor(), 0x0000FFFFu);
    EXPECT_EQ(countDown.lblCountDown().BackColor(), 0x00FF8000u);
    TickAt(10, 29, 39);
    TickAt(10, 29, 40);
    EXPECT_EQ(SoundsPlayed(), 2u);
    EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(pause) + 14u);
    EXPECT_EQ(countDown.lblCountDown().BackColor(), 0x00FF8000u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPause, AlertPauseStories,
    ::testing::Combine(::testing::Range(1, frmCountDown::kAlertPauses + 1),
                       ::testing::Values(MenuCommand::ChangeTime, MenuCommand::ExitApp)),
    [](const auto& info) {
        return "Pause" + std::to_string(std::get<0>(info.param)) +
               (std::get<1>(info.param) == MenuCommand::ExitApp ? "ExitApp" : "ChangeTime");
    });

}  // namespace
}  // namespace brindle
