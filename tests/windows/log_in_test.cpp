#include "log_in_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

using Options = std::vector<std::string>;

// The story below tells the rhythms in words and options; one minute alone is said in the
// singular.
TEST(StartAtLogIn, AOneMinuteRhythmIsSaidInTheSingular) {
    EXPECT_EQ(RhythmInWords(Rhythm{1, "20", 0, 0, 0}),
              "Every minute from 00:00, warned 20 seconds ahead");
}

class StartAtLogInStory : public ::testing::Test, public ProgramFixture {
protected:
    std::string Mark() {
        windows.PressLabel(countDown, "lblCountDown", MouseButton::Right);
        const std::string& shown = windows.menusShown.back();
        return shown.substr(shown.find("] Start at Log-in") - 2, 3);
    }
};

TEST_F(StartAtLogInStory, TheEntryFollowsTheRhythmUntilUnchecked) {
    // Checked on the idle first screen, the entry opens the first screen.
    EXPECT_EQ(Mark(), "[ ]");
    ChooseOnCountDown("mnuLogIn");
    EXPECT_EQ(desktop.logInEntry, Options{});
    EXPECT_EQ(desktop.logInComment, "Opens Brindle's first screen");
    EXPECT_EQ(Mark(), "[x]");
    // A rhythm picked in the windows is written as the options that start it again.
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo2", "30");
    windows.PickItem(setup, "Combo1", "15");
    EXPECT_EQ(desktop.logInEntry,
              (Options{"--reference", "00:00", "--lead", "30", "--interval", "15"}));
    ChooseOnCountDown("mnuReferance");
    PickReferenceTime(10, 7, 30);
    PressOk();
    EXPECT_EQ(desktop.logInEntry,
              (Options{"--reference", "10:07:30", "--lead", "30", "--interval", "15"}));
    EXPECT_EQ(desktop.logInComment, "Every 15 minutes from 10:07:30, warned 30 seconds ahead");
    // Unchecked, the entry goes and a new rhythm writes none.
    const int writes = desktop.logInWrites;
    ChooseOnCountDown("mnuLogIn");
    EXPECT_FALSE(desktop.logInEntry.has_value());
    ChooseOnCountDown("mnuCT");
    windows.PickItem(setup, "Combo1", "10");
    EXPECT_EQ(desktop.logInWrites, writes);
    EXPECT_EQ(Mark(), "[ ]");
    // An entry written by hand shows as checked when the menu next opens.
    desktop.logInEntry = Options{"--interval", "5"};
    EXPECT_EQ(Mark(), "[x]");
    EXPECT_TRUE(windows.messages.empty());
}

TEST_F(StartAtLogInStory, AnEntryThatCannotBeWrittenIsToldAndTheCheckStays) {
    desktop.logInError = SettingError{"/home/ann/.config/autostart", "Permission denied"};
    ChooseOnCountDown("mnuLogIn");
    EXPECT_EQ(windows.messages, (Options{"Start at Log-in could not be saved in "
                                         "/home/ann/.config/autostart: Permission denied"}));
    EXPECT_EQ(Mark(), "[ ]");
    // One that cannot be removed stays checked.
    desktop.logInEntry = Options{};
    ChooseOnCountDown("mnuLogIn");
    EXPECT_EQ(windows.messages.back(),
              "Start at Log-in could not be removed from "
              "/home/ann/.config/autostart: Permission denied");
    EXPECT_EQ(Mark(), "[x]");
}

}  // namespace
}  // namespace brindle
