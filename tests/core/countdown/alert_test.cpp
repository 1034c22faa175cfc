#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

// The four label colours in the order lblCountDown fore, back, Label1 fore, back.
using Scheme = std::array<Colour, 4>;
constexpr Scheme kNormalScheme{0x0000FFFF, 0x00FF8000, 0x00FF8000, 0x00C0C0C0};
constexpr Scheme kAlertScheme{0x0080FFFF, 0x00000000, 0x0080FFFF, 0x00000000};

class Alert : public ::testing::Test, public ProgramFixture {
protected:
    frmCountDown& countDown = program.frmCountDown;

    Alert() {
        program.Form1.Combo1().AcceptTypedText("15");
        countDown.cmdStartTimer().SetValue(true);
        clock.Set(10, 14, 39);
        windows.FireTimer(countDown, "tmrDisplayTime");
        os.Clear();
        windows.ClearRecords();
    }

    // The tick that is twenty seconds before 10:15:00 and so runs the whole alert.
    void WarningTick() {
        clock.Set(10, 14, 40);
        windows.FireTimer(countDown, "tmrDisplayTime");
    }

    Scheme CurrentScheme() {
        return {countDown.lblCountDown().ForeColor(), countDown.lblCountDown().BackColor(),
                countDown.Label1().ForeColor(), countDown.Label1().BackColor()};
    }

    std::size_t Sleeps() const { return os.CallsOf("Sleep").size(); }

    // What the program had done when the user's command was over.
    std::size_t updatesAtUnload = 0;
    std::size_t peersAtUnload = 0;
    std::size_t sleepsAtUnload = 0;

    // The user right-clicks the countdown and chooses a menu entry during the given pause of
    // the alert (counted from 1).
    void ChooseDuringPause(int pause, std::string entry) {
        os.onSleep = [this, pause, entry](std::int32_t) {
            if (Sleeps() != static_cast<std::size_t>(pause)) {
                return;
            }
            windows.Post([this, entry] {
                windows.ChooseOnNextPopup(entry);
                windows.PressLabel(countDown, "lblCountDown", MouseButton::Right);
                updatesAtUnload = windows.updates.size();
                peersAtUnload = windows.peersCreated.size();
                sleepsAtUnload = Sleeps();
            });
        };
    }
};

// Names the window system's records since `from`: four colour updates in the normal order
// become "normal", four in the alert order "alert", anything else its control and property.
std::vector<std::string> NameUpdates(const std::vector<PeerUpdate>& updates, std::size_t from) {
    static const std::vector<std::string> normal{"lblCountDown.ForeColor", "lblCountDown.BackColor",
                                                 "Label1.ForeColor", "Label1.BackColor"};
    static const std::vector<std::string> alert{"lblCountDown.BackColor", "lblCountDown.ForeColor",
                                                "Label1.BackColor", "Label1.ForeColor"};
    std::vector<std::string> names;
    for (std::size_t i = from; i < updates.size(); ++i) {
        const PeerUpdate& update = updates[i];
        std::string name = update.control.empty()                   ? update.window + ".Visibility"
                           : update.property == Property::ForeColor ? update.control + ".ForeColor"
                           : update.property == Property::BackColor ? update.control + ".BackColor"
                                                                    : update.control + ".Other";
        names.push_back(name);
    }
    std::vector<std::string> grouped;
    for (std::size_t i = 0; i < names.size();) {
        const auto next4 = [&](const std::vector<std::string>& scheme) {
            return i + 4 <= names.size() &&
                   std::equal(scheme.begin(), scheme.end(), names.begin() + i);
        };
        if (next4(normal)) {
            grouped.push_back("normal");
            i += 4;
        } else if (next4(alert)) {
            grouped.push_back("alert");
            i += 4;
        } else {
            grouped.push_back(names[i]);
            ++i;
        }
    }
    return grouped;
}

TEST_F(Alert, TimeLineOfSoundFlashesAndPauses) {
    // One line for the display, the declared calls, the colour schemes and the event processing,
    // in the order they happened.
    std::vector<std::string> timeLine;
    std::size_t seen = 0;
    const auto takeUpdates = [&] {
        for (const std::string& name : NameUpdates(windows.updates, seen)) {
            timeLine.push_back(name);
        }
        seen = windows.updates.size();
    };
    std::vector<Scheme> schemeDuringPause;
    os.onCall = [&](const DeclaredCall& call) {
        takeUpdates();
        timeLine.push_back(call.function + (call.function == "Sleep"
                                                ? "(" + std::to_string(call.arguments[0]) + ")"
                                                : ""));
    };
    os.onSleep = [&](std::int32_t) {
        schemeDuringPause.push_back(CurrentScheme());
        windows.Post([&] {
            takeUpdates();
            timeLine.push_back("events");
        });
    };

    WarningTick();
    takeUpdates();

    std::vector<std::string> expected{"lblCountDown.Other", "PlaySoundA", "alert"};
    for (int flash = 0; flash < 6; ++flash) {
        for (const char* step :
             {"Sleep(200)", "events", "normal", "Sleep(200)", "events", "alert"}) {
            expected.push_back(step);
        }
    }
    for (const char* step : {"Sleep(200)", "events", "normal", "Sleep(200)", "events"}) {
        expected.push_back(step);
    }
    EXPECT_EQ(timeLine, expected);

    ASSERT_EQ(schemeDuringPause.size(), 14u);
    for (std::size_t pause = 0; pause < schemeDuringPause.size(); ++pause) {
        EXPECT_EQ(schemeDuringPause[pause], pause % 2 == 0 ? kAlertScheme : kNormalScheme)
            << "pause " << pause + 1;
    }
    EXPECT_EQ(CurrentScheme(), kNormalScheme);
    EXPECT_EQ(windows.processPendingEventsCount, 14);
    EXPECT_EQ(clock.Milliseconds() % 86'400'000, (10 * 3600 + 14 * 60 + 40) * 1000LL + 2800);

    const auto sounds = os.CallsOf("PlaySoundA");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].text, "S_Timer.wav");
    EXPECT_EQ(sounds[0].arguments, (std::vector<std::int64_t>{0, 0x20003}));
    EXPECT_EQ(countDown.SoundFile, "S_Timer.wav");
}

TEST_F(Alert, PressingAlertDuringPauseStartsNoSecondAlert) {
    os.onSleep = [&](std::int32_t) {
        if (Sleeps() == 3) {
            windows.Post([&] { countDown.cmdAlert().SetValue(true); });
        }
    };
    WarningTick();
    EXPECT_EQ(os.CallsOf("PlaySoundA").size(), 1u);
    EXPECT_EQ(Sleeps(), 14u);
    EXPECT_EQ(CurrentScheme(), kNormalScheme);
}

TEST_F(Alert, TickThatWouldWarnDuringPauseStartsNoSecondAlert) {
    os.onSleep = [&](std::int32_t) {
        if (Sleeps() == 5) {
            // The clock jumps to the next quarter hour's warning moment while the alert pauses.
            windows.Post([&] {
                clock.Set(10, 29, 39);
                windows.FireTimer(countDown, "tmrDisplayTime");
                clock.Set(10, 29, 40);
                windows.FireTimer(countDown, "tmrDisplayTime");
            });
        }
    };
    WarningTick();
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:20");
    EXPECT_EQ(os.CallsOf("PlaySoundA").size(), 1u);
    EXPECT_EQ(Sleeps(), 14u);
}

TEST_F(Alert, NextBoundaryWarnsAgainAfterAnAlertHasEnded) {
    WarningTick();
    clock.Set(10, 15, 0);
    RunTimerFor(15 * 60 * 1000);
    EXPECT_EQ(os.CallsOf("PlaySoundA").size(), 2u);
    EXPECT_EQ(Sleeps(), 28u);
}

enum class MenuCommand { ChangeTime, ExitApp };

class AlertInterruptedByUnload
    : public Alert,
      public ::testing::WithParamInterface<std::tuple<int, MenuCommand>> {
protected:
    int pause = std::get<0>(GetParam());
    MenuCommand command = std::get<1>(GetParam());

    std::vector<std::string> CountDownUpdatesAfterUnload() const {
        std::vector<std::string> touched;
        for (std::size_t i = updatesAtUnload; i < windows.updates.size(); ++i) {
            if (windows.updates[i].window == "frmCountDown") {
                touched.push_back(windows.updates[i].control);
            }
        }
        return touched;
    }
};

TEST_P(AlertInterruptedByUnload, AlertEndsAtOnceAndTouchesNoControl) {
    program.Form1.Show();
    program.frmRef.Show();
    ChooseDuringPause(pause, command == MenuCommand::ExitApp ? "mnuExit" : "mnuCT");

    WarningTick();

    // The alert stopped at the pause the command came in, and reloaded nothing.
    EXPECT_EQ(sleepsAtUnload, static_cast<std::size_t>(pause));
    EXPECT_EQ(Sleeps(), static_cast<std::size_t>(pause));
    EXPECT_FALSE(countDown.IsLoaded());
    EXPECT_EQ(countDown.LoadCount(), 1u);
    EXPECT_EQ(CountDownUpdatesAfterUnload(), std::vector<std::string>{});
    EXPECT_EQ(windows.peersCreated.size(), peersAtUnload);
    EXPECT_EQ(os.CallsOf("PlaySoundA").size(), 1u);
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_FALSE(program.frmMenu.IsLoaded());

    if (command == MenuCommand::ExitApp) {
        // Nothing is left, so the program ends once.
        EXPECT_FALSE(program.Form1.IsLoaded());
        EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
        EXPECT_EQ(windows.quitCount, 1);
        EXPECT_EQ(windows.livePeers, 0);
    } else {
        // The fresh setup window is the one window left and the program goes on.
        EXPECT_TRUE(program.Form1.IsVisible());
        EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
        EXPECT_EQ(windows.quitCount, 0);
        EXPECT_EQ(windows.livePeers, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryPause, AlertInterruptedByUnload,
    ::testing::Combine(::testing::Range(1, 15),
                       ::testing::Values(MenuCommand::ChangeTime, MenuCommand::ExitApp)),
    [](const auto& info) {
        return "Pause" + std::to_string(std::get<0>(info.param)) +
               (std::get<1>(info.param) == MenuCommand::ExitApp ? "ExitApp" : "ChangeTime");
    });

class AlertInterruptedByChangeTime : public Alert, public ::testing::WithParamInterface<int> {};

TEST_P(AlertInterruptedByChangeTime, NewCountdownAlertsInFullAfterwards) {
    const int pause = GetParam();
    ChooseDuringPause(pause, "mnuCT");
    WarningTick();
    os.onSleep = nullptr;

    windows.PickItem(program.Form1, "Combo1", "15");
    ASSERT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.LoadCount(), 2u);
    clock.Set(10, 29, 39);
    windows.FireTimer(countDown, "tmrDisplayTime");
    clock.Set(10, 29, 40);
    windows.FireTimer(countDown, "tmrDisplayTime");

    EXPECT_EQ(os.CallsOf("PlaySoundA").size(), 2u);
    EXPECT_EQ(Sleeps(), static_cast<std::size_t>(pause) + 14u);
    EXPECT_EQ(CurrentScheme(), kNormalScheme);
}

TEST_P(AlertInterruptedByChangeTime, CountdownRestartedInTheSamePauseIsNotFlashedByOldAlert) {
    const int pause = GetParam();
    std::size_t updatesAfterRestart = 0;
    os.onSleep = [&](std::int32_t) {
        if (Sleeps() != static_cast<std::size_t>(pause)) {
            return;
        }
        // Both steps wait in the queue of the same pause: the user changes the time and at once
        // picks a new interval, which loads a fresh countdown window.
        windows.Post([&] {
            windows.ChooseOnNextPopup("mnuCT");
            windows.PressLabel(countDown, "lblCountDown", MouseButton::Right);
        });
        windows.Post([&] {
            windows.PickItem(program.Form1, "Combo1", "15");
            updatesAfterRestart = windows.updates.size();
        });
    };

    WarningTick();

    ASSERT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.LoadCount(), 2u);
    EXPECT_EQ(Sleeps(), static_cast<std::size_t>(pause));
    EXPECT_EQ(windows.updates.size(), updatesAfterRestart);
    EXPECT_EQ(CurrentScheme(), kNormalScheme);
}

INSTANTIATE_TEST_SUITE_P(EveryPause, AlertInterruptedByChangeTime, ::testing::Range(1, 15),
                         [](const auto& info) { return "Pause" + std::to_string(info.param); });

}  // namespace
}  // namespace brindle
