#include <gtest/gtest.h>

#include <string>

#include "program_fixture.h"

namespace brindle {
namespace {

class CountDownWindow : public ::testing::Test, public ProgramFixture {
protected:
    // Starts a countdown as picking an interval does, without the setup window's other steps.
    void StartWithInterval(const std::string& minutes) {
        setup.Combo1().AcceptTypedText(minutes);
        countDown.cmdStartTimer().SetValue(true);
    }
};

TEST_F(CountDownWindow, IntervalTextIsRoundedHalfToEvenAndTextWithoutPeriodShowsDashes) {
    StartWithInterval("7.5");
    EXPECT_EQ(countDown.IntervalMinutes, 8);
    StartWithInterval("8.5");
    EXPECT_EQ(countDown.IntervalMinutes, 8);
    for (const char* text : {"Time Frames", "0", "-5", "547", "32767"}) {
        StartWithInterval(text);
        RunTimerFor(120'000);
        EXPECT_EQ(countDown.lblCountDown().Caption(), "--:--") << text;
    }
    EXPECT_EQ(SoundsPlayed(), 0u);
}

TEST_F(CountDownWindow, IntervalTooLargeForSixteenBitsLeavesRunningCountdownUnchanged) {
    StartWithInterval("15");
    TickAt(10, 7, 30);
    StartWithInterval("40000");
    EXPECT_EQ(countDown.IntervalMinutes, 15);
    EXPECT_EQ(TickAt(10, 7, 31), "07:29");
}

TEST_F(CountDownWindow, RestartInsideLeadWaitsForTheNextBoundary) {
    StartWithInterval("15");
    TickAt(10, 14, 30);
    // Restarted ten seconds before the boundary: the tick before the restart does not count, so
    // this boundary passes without a warning.
    clock.Set(10, 14, 50);
    countDown.cmdStartTimer().SetValue(true);
    RunTimerFor(20'000);
    EXPECT_EQ(SoundsPlayed(), 0u);
    clock.Set(10, 29, 30);
    RunTimerFor(20'000);
    EXPECT_EQ(SoundsPlayed(), 1u);
}

}  // namespace
}  // namespace brindle
