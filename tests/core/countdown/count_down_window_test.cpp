#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {
namespace {

constexpr Colour kYellow = 0x0000FFFF;
constexpr Colour kNormalBlue = 0x00FF8000;
constexpr Colour kGrey = 0x00C0C0C0;

class CountDownWindow : public ::testing::Test, public ProgramFixture {
protected:
    frmCountDown& countDown = program.frmCountDown;

    // Starts a countdown as picking an interval does, without the setup window's other steps.
    void StartWithInterval(const std::string& minutes) {
        program.Form1.Combo1().AcceptTypedText(minutes);
        countDown.cmdStartTimer().SetValue(true);
    }
};

TEST_F(CountDownWindow, FirstScreenShowsEmptyDisplayInNormalColoursOnTop) {
    EXPECT_TRUE(countDown.IsVisible());
    EXPECT_EQ(countDown.lblCountDown().Caption(), "");
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_EQ(countDown.lblCountDown().ForeColor(), kYellow);
    EXPECT_EQ(countDown.lblCountDown().BackColor(), kNormalBlue);
    EXPECT_EQ(countDown.Label1().ForeColor(), kNormalBlue);
    EXPECT_EQ(countDown.Label1().BackColor(), kGrey);
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());

    const auto topmost = os.CallsOf("SetWindowPos");
    ASSERT_EQ(topmost.size(), 1u);
    EXPECT_EQ(topmost[0].arguments[0], countDown.hWnd());
    EXPECT_EQ(topmost[0].arguments[1], HWND_TOPMOST);
    EXPECT_EQ(topmost[0].arguments[6], SWP_NOMOVE | SWP_NOSIZE);

    // Nothing but the countdown window is loaded at start.
    EXPECT_FALSE(program.Form1.IsLoaded());
    EXPECT_FALSE(program.frmMenu.IsLoaded());
    EXPECT_FALSE(program.frmRef.IsLoaded());
}

TEST_F(CountDownWindow, TicksShowTimeLeftToNextBoundaryFromMidnight) {
    StartWithInterval("15");
    EXPECT_EQ(countDown.IntervalMinutes, 15);
    // The picker's design value, 20 November 2003 00:00:00, anchors the periods at midnight.
    EXPECT_TRUE(program.frmRef.IsLoaded());
    EXPECT_FALSE(program.frmRef.IsVisible());
    clock.Set(10, 7, 30);
    windows.FireTimer(countDown, "tmrDisplayTime");
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:30");
    clock.Set(10, 15, 0);
    windows.FireTimer(countDown, "tmrDisplayTime");
    EXPECT_EQ(countDown.lblCountDown().Caption(), "15:00");
}

TEST_F(CountDownWindow, IntervalWithoutPeriodShowsDashesAndNeverWarns) {
    for (const char* text : {"Time Frames", "0", "-5", "547", "32767"}) {
        StartWithInterval(text);
        RunTimerFor(120'000);
        EXPECT_EQ(countDown.lblCountDown().Caption(), "--:--") << text;
    }
    EXPECT_TRUE(os.CallsOf("PlaySoundA").empty());
}

TEST_F(CountDownWindow, IntervalTooLargeForSixteenBitsLeavesRunningCountdownUnchanged) {
    StartWithInterval("15");
    StartWithInterval("40000");
    EXPECT_EQ(countDown.IntervalMinutes, 15);
    EXPECT_TRUE(countDown.tmrDisplayTime().Enabled());
}

TEST_F(CountDownWindow, IntervalTextIsRoundedHalfToEven) {
    StartWithInterval("7.5");
    EXPECT_EQ(countDown.IntervalMinutes, 8);
    StartWithInterval("8.5");
    EXPECT_EQ(countDown.IntervalMinutes, 8);
}

TEST_F(CountDownWindow, StopKeepsLastDisplayAndRestartKeepsItUntilNextTick) {
    StartWithInterval("15");
    clock.Set(10, 7, 30);
    windows.FireTimer(countDown, "tmrDisplayTime");
    countDown.cmdStopTimer().SetValue(true);
    EXPECT_FALSE(countDown.tmrDisplayTime().Enabled());
    clock.Set(10, 8, 0);
    windows.FireTimer(countDown, "tmrDisplayTime");
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:30");
    countDown.cmdStartTimer().SetValue(true);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:30");
    windows.FireTimer(countDown, "tmrDisplayTime");
    EXPECT_EQ(countDown.lblCountDown().Caption(), "07:00");
}

TEST_F(CountDownWindow, UnloadClosesEveryOtherWindowAndEndsProgram) {
    program.Form1.Show();
    program.frmRef.Show();
    program.frmMenu.Load();
    countDown.Unload();
    EXPECT_FALSE(program.Form1.IsLoaded());
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_FALSE(program.frmMenu.IsLoaded());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 0);
    EXPECT_EQ(windows.quitCount, 1);
    EXPECT_EQ(windows.livePeers, 0);
}

TEST_F(CountDownWindow, ReloadAfterUnloadRestoresDesignValues) {
    countDown.alert().SetText("40");
    countDown.Label1().SetCaption("15 Min");
    countDown.Unload();
    EXPECT_EQ(countDown.alert().Text(), "20");
    EXPECT_EQ(countDown.Label1().Caption(), "Label1");
    EXPECT_TRUE(countDown.IsLoaded());
    EXPECT_FALSE(countDown.IsVisible());
    EXPECT_EQ(countDown.LoadCount(), 2u);
}

TEST_F(CountDownWindow, UnloadingTwiceIsHarmless) {
    program.frmRef.Load();
    program.frmRef.Unload();
    program.frmRef.Unload();
    EXPECT_FALSE(program.frmRef.IsLoaded());
    EXPECT_EQ(program.runtime.LoadedWindowCount(), 1);
}

}  // namespace
}  // namespace brindle
