#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

// The four label colours in the order lblCountDown fore, back, Label1 fore, back.
using Scheme = std::array<Colour, 4>;
constexpr Scheme kNormalScheme{0x0000FFFF, 0x00FF8000, 0x00FF8000, 0x00C0C0C0};
constexpr Scheme kAlertScheme{0x0080FFFF, 0x00000000, 0x0080FFFF, 0x00000000};

// A 15-minute countdown one tick before its warning at 10:14:40, with the records cleared.
class Alert : public ::testing::Test, public ProgramFixture {
protected:
    Alert() {
        setup.Combo1().AcceptTypedText("15");
        countDown.cmdStartTimer().SetValue(true);
        TickAt(10, 14, 39);
        os.Clear();
        windows.ClearRecords();
    }

    Scheme CurrentScheme() {
        return {countDown.lblCountDown().ForeColor(), countDown.lblCountDown().BackColor(),
                countDown.Label1().ForeColor(), countDown.Label1().BackColor()};
    }

    // Runs the action during the given pause of the alert (counted from 1).
    void DuringPause(std::size_t pause, std::function<void()> action) {
        os.onSleep = [this, pause, action](std::int32_t) {
            if (PausesTaken() == pause) {
                windows.Post(action);
            }
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
        names.push_back(update.control.empty()                   ? update.window + ".Visibility"
                        : update.property == Property::ForeColor ? update.control + ".ForeColor"
                        : update.property == Property::BackColor ? update.control + ".BackColor"
                                                                 : update.control + ".Other");
    }
    std::vector<std::string> grouped;
    for (std::size_t i = 0; i < names.size();) {
        const auto next4 = [&](const std::vector<std::string>& scheme) {
            return i + 4 <= names.size() &&
                   std::equal(scheme.begin(), scheme.end(), names.begin() + i);
        };
        const bool isNormal = next4(normal);
        if (isNormal || next4(alert)) {
            grouped.push_back(isNormal ? "normal" : "alert");
            i += 4;
        } else {
            grouped.push_back(names[i++]);
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

    TickAt(10, 14, 40);
    takeUpdates();

    std::vector<std::string> expected{"lblCountDown.Other", "PlaySoundA", "alert"};
    for (int flash = 0; flash < 6; ++flash) {
        expected.insert(expected.end(),
                        {"Sleep(200)", "events", "normal", "Sleep(200)", "events", "alert"});
    }
    expected.insert(expected.end(), {"Sleep(200)", "events", "normal", "Sleep(200)", "events"});
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
}

TEST_F(Alert, AlertDuringAlertWaitsAndBoundaryDueMeanwhileWarnsAfterTheFlash) {
    // The user presses the alert button during the third pause, and the clock jumps to the next
    // quarter hour's warning moment during the fifth.
    os.onSleep = [&](std::int32_t) {
        if (PausesTaken() == 3) {
            windows.Post([&] { countDown.cmdAlert().SetValue(true); });
        } else if (PausesTaken() == 5) {
            windows.Post([&] {
                TickAt(10, 29, 39);
                TickAt(10, 29, 40);
            });
        }
    };
    TickAt(10, 14, 40);
    EXPECT_EQ(SoundsPlayed(), 1u);
    EXPECT_EQ(PausesTaken(), 14u);
    EXPECT_EQ(CurrentScheme(), kNormalScheme);

    // The boundary of 10:30 came due inside the flash; it still lies ahead, so the first tick
    // after the flash warns for it, and only once.
    os.onSleep = nullptr;
    EXPECT_EQ(TickAt(10, 29, 42), "00:18");
    EXPECT_EQ(SoundsPlayed(), 2u);
    EXPECT_EQ(PausesTaken(), 28u);
    TickAt(10, 29, 43);
    EXPECT_EQ(SoundsPlayed(), 2u);
}

class AlertInterruptedByChangeTime : public Alert, public ::testing::WithParamInterface<int> {};

TEST_P(AlertInterruptedByChangeTime, CountdownRestartedInTheSamePauseIsNotFlashedByOldAlert) {
    // Both steps wait in the queue of the same pause: the user changes the time and at once
    // picks a new interval, which loads a fresh countdown window.
    std::size_t updatesAfterRestart = 0;
    DuringPause(GetParam(), [&] {
        ChooseOnCountDown("mnuCT");
        windows.PickItem(setup, "Combo1", "15");
        updatesAfterRestart = windows.updates.size();
    });

    TickAt(10, 14, 40);

    ASSERT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.LoadCount(), 2u);
    EXPECT_EQ(PausesTaken(), static_cast<std::size_t>(GetParam()));
    EXPECT_EQ(windows.updates.size(), updatesAfterRestart);
    EXPECT_EQ(CurrentScheme(), kNormalScheme);
}

INSTANTIATE_TEST_SUITE_P(EveryPause, AlertInterruptedByChangeTime,
                         ::testing::Range(1, frmCountDown::kAlertPauses + 1),
                         [](const auto& info) { return "Pause" + std::to_string(info.param); });

}  // namespace
}  // namespace brindle
