#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

constexpr Colour kAlertBack = 0x00000000;

// A quarter-hour countdown with a 20 s lead, ticked up to its warning at 10:14:40; says whether
// the chime played and whether the window flashed in full.
struct Warning {
    bool chimed;
    bool flashed;
};
Warning WarnOnce(ProgramFixture& f, int minute) {
    std::vector<Colour> backs;
    f.os.onSleep = [&](std::int32_t) {
        backs.push_back(f.Shown(f.countDown, "lblCountDown").backColor);
    };
    const std::size_t sounds = f.SoundsPlayed();
    f.TickAt(10, minute, 39);
    f.TickAt(10, minute, 40);
    f.os.onSleep = nullptr;
    return {f.SoundsPlayed() > sounds, backs.size() == 14 && backs.front() == kAlertBack};
}

TEST(QuietWhenBusy, HoldsTheChimeOnlyWhenChosenAndBusyAndTheFlashAlwaysComes) {
    enum class Saved { Never, Off, On };
    struct Case {
        const char* name;
        Saved saved;
        std::vector<BusyReason> busy;
        bool chimes;
    };
    const std::vector<BusyReason> all = {BusyReason::Microphone, BusyReason::Camera,
                                         BusyReason::DoNotDisturb, BusyReason::FullScreen,
                                         BusyReason::SessionLocked};
    const std::vector<Case> cases = {
        {"first run, busy every way", Saved::Never, all, true},
        {"off, busy every way", Saved::Off, all, true},
        {"on, free", Saved::On, {}, true},
        {"on, microphone", Saved::On, {BusyReason::Microphone}, false},
        // Every reason holds the chime alike; the first and the last bound the reasons' bits.
        {"on, session locked", Saved::On, {BusyReason::SessionLocked}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramFixture f;
        if (c.saved != Saved::Never) {
            f.desktop.saved["QuietWhenBusy"] = c.saved != Saved::Off;
        }
        for (const BusyReason reason : c.busy) {
            f.desktop.busy.Add(reason);
        }
        f.StartCountdown("15");
        f.RunTimerFor(60'000);
        const Warning warning = WarnOnce(f, 14);
        EXPECT_EQ(warning.chimed, c.chimes);
        EXPECT_TRUE(warning.flashed);
        // The person is asked about only when a warning is due and the choice is on.
        EXPECT_EQ(f.desktop.busyChecks, c.saved == Saved::On ? 1 : 0);
    }
}

TEST(QuietWhenBusy, AHeldChimeIsNotPlayedLaterAndTheNextWarningAsksAgain) {
    ProgramFixture f;
    f.desktop.saved["QuietWhenBusy"] = true;
    f.desktop.busy.Add(BusyReason::Microphone);
    f.StartCountdown("15");
    EXPECT_FALSE(WarnOnce(f, 14).chimed);
    // The call ends; nothing sounds until the next warning, which chimes.
    f.desktop.busy = BusyReasons{};
    for (int minute = 15; minute < 29; ++minute) {
        f.TickAt(10, minute, 0);
    }
    EXPECT_EQ(f.SoundsPlayed(), 0u);
    EXPECT_TRUE(WarnOnce(f, 29).chimed);
    EXPECT_EQ(f.desktop.busyChecks, 2);
}

TEST(QuietWhenBusy, TheMenuCheckItemShowsAndKeepsTheChoiceOnlyOnceSaved) {
    const auto menu = [](const char* mark) {
        return "Change Time|Referance|---|" + std::string(mark) +
               " Quiet When Busy|[ ] Start at Log-in|---|Exit App";
    };
    ProgramFixture f;
    // A first run: the entry is there, unchecked, between separators; choosing it saves the
    // choice.
    f.ChooseOnCountDown("mnuQuiet");
    EXPECT_EQ(f.windows.menusShown.back(), menu("[ ]"));
    EXPECT_EQ(f.desktop.saved, (std::map<std::string, bool>{{"QuietWhenBusy", true}}));
    // The next start shows it checked; choosing it again turns it off.
    ProgramFixture next;
    next.desktop.saved = f.desktop.saved;
    next.ChooseOnCountDown("mnuQuiet");
    EXPECT_EQ(next.windows.menusShown.back(), menu("[x]"));
    EXPECT_EQ(next.desktop.saved.at("QuietWhenBusy"), false);
    EXPECT_TRUE(next.windows.messages.empty());
    // A store that cannot be written is named with the reason, and the check stays as saved.
    next.desktop.writeError =
        SettingError{"/home/ann/.config/brindle/brindle.conf", "it is read-only"};
    next.ChooseOnCountDown("mnuQuiet");
    EXPECT_EQ(
        next.windows.messages,
        (std::vector<std::string>{"Quiet When Busy could not be saved in "
                                  "/home/ann/.config/brindle/brindle.conf: it is read-only"}));
    next.windows.PressLabel(next.countDown, "lblCountDown", MouseButton::Right);
    EXPECT_EQ(next.windows.menusShown.back(), menu("[ ]"));
}

}  // namespace
}  // namespace brindle
