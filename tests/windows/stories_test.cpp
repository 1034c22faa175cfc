#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

// The colours shown of lblCountDown (fore, back) and Label1 (fore, back).
using Scheme = std::array<Colour, 4>;
constexpr Scheme kNormal{0x0000FFFF, 0x00FF8000, 0x00FF8000, 0x00C0C0C0};
constexpr Scheme kAlert{0x0080FFFF, 0x00000000, 0x0080FFFF, 0x00000000};

class Stories : public ::testing::Test, public ProgramFixture {
protected:
    Scheme Colours() const {
        const ShownControl& time = Shown(countDown, "lblCountDown");
        const ShownControl& interval = Shown(countDown, "Label1");
        return {time.foreColor, time.backColor, interval.foreColor, interval.backColor};
    }
};

TEST_F(Stories, OneCountdownFromTheFirstScreenToExit) {
    // The program starts with only the idle countdown window, in its normal colours, on top.
    EXPECT_EQ(windows.screen.size(), 1u);
    EXPECT_TRUE(OnScreen(countDown));
    EXPECT_EQ(Display() + "|" + Shown(countDown, "Label1").text, "|Label1");
    EXPECT_EQ(Colours(), kNormal);
    ASSERT_EQ(os.CallsOf("SetWindowPos").size(), 1u);
    EXPECT_EQ(os.CallsOf("SetWindowPos")[0].arguments,
              (std::vector<std::int64_t>{countDown.hWnd(), kTopMost, 0, 0, 0, 0, kKeepPlace}));
    // "Change Time": a fresh setup window on top takes the countdown's place.
    ChooseOnCountDown("mnuCT");
    ExpectFreshSetupWindowShown();
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_EQ(os.CallsOf("SetWindowPos").back().arguments,
              (std::vector<std::int64_t>{setup.hWnd(), kTopMost, 0, 0, 0, 0, kKeepPlace}));
    // A lead of 40 s locks the lead list; an interval of 10 min shows the countdown.
    windows.PickItem(setup, "Combo2", "40");
    EXPECT_FALSE(Shown(setup, "Combo2").enabled);
    EXPECT_FALSE(OnScreen(countDown));
    windows.PickItem(setup, "Combo1", "10");
    EXPECT_TRUE(OnScreen(countDown));
    EXPECT_FALSE(OnScreen(setup));
    EXPECT_EQ(Shown(countDown, "Label1").text, "10 Min");
    RunTimerFor(1000);
    EXPECT_EQ(Display(), "09:59");
    EXPECT_EQ(TickAt(10, 9, 19), "00:41");
    // At 00:40 the chime plays once and the window flashes: alert colours in odd pauses, normal
    // ones in even pauses and after, fourteen pauses of 200 ms while events are processed.
    std::vector<Scheme> duringPauses;
    os.onSleep = [&](std::int32_t) { duringPauses.push_back(Colours()); };
    EXPECT_EQ(TickAt(10, 9, 20), "00:40");
    const auto sounds = os.CallsOf("PlaySoundA");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].text, "S_Timer.wav");
    EXPECT_EQ(sounds[0].arguments, (std::vector<std::int64_t>{0, 0x20003}));
    ASSERT_EQ(duringPauses.size(), 14u);
    for (std::size_t i = 0; i < 14; ++i) {
        EXPECT_EQ(duringPauses[i], i % 2 == 0 ? kAlert : kNormal) << "pause " << i + 1;
    }
    EXPECT_EQ(Colours(), kNormal);
    EXPECT_EQ(os.CallsOf("Sleep")[0].arguments[0], 200);
    os.onSleep = nullptr;
    // Stopped, the display keeps its value until the countdown runs again.
    countDown.cmdStopTimer().SetValue(true);
    EXPECT_EQ(TickAt(10, 19, 30), "00:40");
    countDown.cmdStartTimer().SetValue(true);
    EXPECT_EQ(TickAt(10, 19, 31), "00:29");
    // "Change Time" again, then "Exit App" on the setup window.
    ChooseOnCountDown("mnuCT");
    ChooseOnSetup("mnuExit");
    ExpectProgramEnded();
}

TEST_F(Stories, PressingAnyLabelMovesItsWindowAndARightPressOpensTheMenuThere) {
    const auto press = [&](Form& window, const char* label, MouseButton button) {
        os.Clear();
        windows.popups.clear();
        windows.PressLabel(window, label, button);
        // The capture is let go and a left press on this window's caption starts the move.
        ASSERT_EQ(os.calls.size(), 2u);
        EXPECT_EQ(os.calls[0].function, "ReleaseCapture");
        EXPECT_EQ(os.calls[1].arguments, (std::vector<std::int64_t>{window.hWnd(), 0xA1, 2, 0}));
        EXPECT_EQ(windows.popups, button == MouseButton::Right ? std::vector{window.Name()}
                                                               : std::vector<std::string>{});
    };
    const ShownWindow before = windows.screen.at(countDown.Name());
    for (MouseButton button : {MouseButton::Left, MouseButton::Middle, MouseButton::Right}) {
        press(countDown, "lblCountDown", button);
        press(countDown, "Label1", button);
    }
    // A menu closed unchosen changes nothing on screen, and its carrier is never shown.
    EXPECT_EQ(windows.screen.at(countDown.Name()), before);
    EXPECT_FALSE(OnScreen(menuCarrier));
    ChooseOnCountDown("mnuCT");
    for (const char* label : {"Label1", "Label2", "Label3", "Label4"}) {
        press(setup, label, MouseButton::Right);
    }
}

TEST_F(Stories, TheSetupWindow) {
    // Typing into the lists starts nothing.
    ChooseOnCountDown("mnuCT");
    setup.Combo1().AcceptTypedText("15");
    setup.Combo2().AcceptTypedText("40");
    EXPECT_FALSE(countDown.IsLoaded());
    // A lead picked and then "Change Time" is forgotten with the hidden countdown window.
    windows.PickItem(setup, "Combo2", "50");
    ChooseOnSetup("mnuCT");
    ExpectFreshSetupWindowShown();
    EXPECT_FALSE(countDown.IsLoaded());
    // An interval picked first keeps the design lead of 20 s and locks the lead list.
    windows.PickItem(setup, "Combo1", "5");
    windows.PickItem(setup, "Combo2", "50");
    EXPECT_EQ(Shown(countDown, "Label1").text, "5 Min");
    EXPECT_EQ(TickAt(10, 4, 39), "00:21");
    EXPECT_EQ(TickAt(10, 4, 40), "00:20");
    EXPECT_EQ(SoundsPlayed(), 1u);
    // A close request reaching the hidden setup window closes only it; the countdown runs on.
    setup.UserClose();
    EXPECT_FALSE(setup.IsLoaded());
    EXPECT_EQ(TickAt(10, 7, 30), "02:30");
    // Closed while the countdown window is loaded but hidden, it would leave nothing on screen:
    // the program ends.
    ProgramFixture f;
    f.ChooseOnCountDown("mnuCT");
    f.windows.PickItem(f.setup, "Combo2", "30");
    f.setup.UserClose();
    f.ExpectProgramEnded();
}

TEST_F(Stories, TheReferenceDialog) {
    // "Referance" twice brings up one dialog, keeping the edited time.
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    ChooseOnCountDown("mnuReferance");
    EXPECT_TRUE(OnScreen(dialog));
    EXPECT_EQ(dialog.DTPicker1().Value(), MakeDateTime(2003, 11, 20, 10, 7, 0));
    // "Ok" before any interval: a countdown with no period shows dashes and never warns.
    PressOk();
    EXPECT_FALSE(OnScreen(setup) || OnScreen(dialog));
    RunTimerFor(20 * 60'000);
    EXPECT_EQ(Display(), "--:--");
    EXPECT_EQ(SoundsPlayed(), 0u);
    // From the setup window: "Ok" loads the countdown to restart but leaves it hidden, and the
    // dialog's time goes with the dialog.
    ChooseOnCountDown("mnuCT");
    ChooseOnSetup("mnuReferance");
    EXPECT_TRUE(OnScreen(setup));
    PickReferenceTime(10, 7, 0);
    PressOk();
    EXPECT_TRUE(countDown.IsLoaded());
    EXPECT_FALSE(OnScreen(countDown));
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_EQ(TickAt(10, 20, 0), "10:00");
    // While running, "Ok" restarts from the picked time; "Change Time" with the dialog open
    // closes it and forgets the time, which the dialog shows afresh.
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 0);
    PressOk();
    EXPECT_EQ(TickAt(10, 36, 59), "00:01");
    ChooseOnCountDown("mnuReferance");
    EXPECT_EQ(Shown(dialog, "DTPicker1").value, MakeDateTime(2003, 11, 20, 0, 0, 0));
    PickReferenceTime(10, 8, 0);
    ChooseOnCountDown("mnuCT");
    EXPECT_FALSE(dialog.IsLoaded());
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_EQ(TickAt(10, 40, 0), "05:00");
}

TEST_F(Stories, TheIntervalTextIsRoundedAndOneWithoutAPeriodShowsDashes) {
    const auto start = [&](const char* text) {
        setup.Combo1().AcceptTypedText(text);
        countDown.cmdStartTimer().SetValue(true);
        return TickAt(10, 0, 1);
    };
    EXPECT_EQ(start("7.5"), "07:59");
    EXPECT_EQ(start("8.5"), "07:59");
    EXPECT_EQ(start("40000"), "07:59");
    for (const char* text : {"Time Frames", "0", "-5", "547"}) {
        EXPECT_EQ(start(text), "--:--") << text;
    }
}

TEST_F(Stories, ARestartInsideTheLeadWaitsForTheNextBoundary) {
    // Restarted ten seconds before the boundary: the tick before the restart belongs to no
    // period of the new countdown, so this boundary passes unwarned.
    StartCountdown("15");
    TickAt(10, 14, 30);
    clock.Set(10, 14, 50);
    countDown.cmdStartTimer().SetValue(true);
    RunTimerFor(20'000);
    EXPECT_EQ(SoundsPlayed(), 0u);
    clock.Set(10, 29, 30);
    RunTimerFor(20'000);
    EXPECT_EQ(SoundsPlayed(), 1u);
}

// Exit App on the countdown and on the setup window over a hidden countdown, with the dialog open;
// while counting and alerting, AMenuCommandDuringAnAlertEndsTheAlertAtOnce chooses it.
TEST_F(Stories, ExitAppEndsTheProgramFromEitherWindow) {
    ChooseOnCountDown("mnuExit");
    ExpectProgramEnded();
    ProgramFixture f;
    f.ChooseOnCountDown("mnuCT");
    f.windows.PickItem(f.setup, "Combo2", "30");
    f.ChooseOnSetup("mnuReferance");
    f.ChooseOnSetup("mnuExit");
    f.ExpectProgramEnded();
}

TEST_F(Stories, AMenuCommandDuringAnAlertEndsTheAlertAtOnce) {
    for (const int pause : {1, 7, 14}) {
        for (const char* entry : {"mnuCT", "mnuExit"}) {
            SCOPED_TRACE(std::string(entry) + " in pause " + std::to_string(pause));
            ProgramFixture f;
            f.StartCountdown("15");
            f.ChooseOnCountDown("mnuReferance");
            ShownWindow chosen;
            Timer& ticks = f.countDown.tmrDisplayTime();
            f.os.onSleep = [&](std::int32_t) {
                if (f.PausesTaken() == static_cast<std::size_t>(pause)) {
                    f.windows.Post([&] {
                        f.ChooseOnCountDown(entry);
                        // A tick already queued behind the command finds its window unloaded.
                        ticks.RaiseTimer();
                        if (f.windows.screen.contains(f.setup.Name())) {
                            chosen = f.windows.screen.at(f.setup.Name());
                        }
                    });
                }
            };
            f.TickAt(10, 14, 39);
            f.TickAt(10, 14, 40);
            f.os.onSleep = nullptr;
            // The alert stopped there and touched no window again; dialog and menu are gone.
            EXPECT_EQ(f.PausesTaken(), static_cast<std::size_t>(pause));
            EXPECT_FALSE(f.dialog.IsLoaded() || f.menuCarrier.IsLoaded() || f.countDown.IsLoaded());
            if (std::string(entry) == "mnuExit") {
                f.ExpectProgramEnded();
                continue;
            }
            // A new countdown in normal colours warns in full.
            EXPECT_EQ(f.windows.screen.at(f.setup.Name()), chosen);
            f.ExpectFreshSetupWindowShown();
            f.windows.PickItem(f.setup, "Combo1", "15");
            EXPECT_EQ(f.Shown(f.countDown, "lblCountDown").backColor, kNormal[1]);
            f.TickAt(10, 29, 39);
            f.TickAt(10, 29, 40);
            EXPECT_EQ(f.SoundsPlayed(), 2u);
            EXPECT_EQ(f.PausesTaken(), static_cast<std::size_t>(pause) + 14);
        }
    }
}

TEST_F(Stories, ABoundaryDueDuringAnAlertWarnsOnceAfterIt) {
    // The alert button pressed in the third pause waits; the clock jumps to the next quarter
    // hour's warning moment in the fifth.
    StartCountdown("15");
    TickAt(10, 14, 39);
    std::vector<std::size_t> handledInPause;
    os.onSleep = [&](std::int32_t) {
        if (PausesTaken() == 3) {
            windows.Post([&] {
                countDown.cmdAlert().SetValue(true);
                handledInPause.push_back(PausesTaken());
            });
        } else if (PausesTaken() == 5) {
            windows.Post([&] {
                TickAt(10, 29, 39), TickAt(10, 29, 40);
                handledInPause.push_back(PausesTaken());
            });
        }
    };
    TickAt(10, 14, 40);
    // Both were handled in the pause they came in, while the window still flashed.
    EXPECT_EQ(handledInPause, (std::vector<std::size_t>{3, 5}));
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(PausesTaken(), 14u);
    EXPECT_EQ(Colours(), kNormal);
    os.onSleep = nullptr;
    EXPECT_EQ(TickAt(10, 29, 42), "00:18");
    EXPECT_EQ(TickAt(10, 29, 43), "00:17");
    EXPECT_EQ(SoundsPlayed(), 2u);
}

TEST_F(Stories, StartedFromTheCommandLineItCountsAtOnceAsAfterTheUsersClicks) {
    // --reference 10:07 --lead 30 --interval 15, started at 10:14:35.
    clock.Set(10, 14, 35);
    program.Apply({TimeOfDay{10, 7, 0}, "30", "15"});
    EXPECT_EQ(TickAt(10, 14, 35), "07:25");
    EXPECT_EQ(Shown(countDown, "Label1").text, "15 Min");
    EXPECT_TRUE(OnScreen(countDown));
    EXPECT_FALSE(OnScreen(setup) || OnScreen(dialog) || setup.Combo2().Enabled());
    EXPECT_EQ(TickAt(10, 21, 29), "00:31");
    EXPECT_EQ(TickAt(10, 21, 30), "00:30");
    EXPECT_EQ(SoundsPlayed(), 1u);
    ChooseOnCountDown("mnuReferance");
    EXPECT_EQ(Shown(dialog, "DTPicker1").value, MakeDateTime(2003, 11, 20, 10, 7, 0));
}

}  // namespace
}  // namespace brindle
