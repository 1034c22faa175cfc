#include <gtest/gtest.h>

#include "program_fixture.h"

namespace brindle {
namespace {

class Alert : public ::testing::Test, public ProgramFixture {
protected:
    frmCountDown& countDown = program.frmCountDown;
};

TEST_F(Alert, WarningAtLeadFlashesFourteenPausesAndPlaysSoundOnce) {
    program.Form1.Combo1().AcceptTypedText("15");
    countDown.cmdStartTimer().SetValue(true);
    clock.Set(10, 14, 39);
    RunTimerFor(1000);
    EXPECT_EQ(countDown.lblCountDown().Caption(), "00:20");
    const auto sounds = os.CallsOf("PlaySoundA");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].text, "S_Timer.wav");
    EXPECT_EQ(sounds[0].arguments[1], 0x20003);
    EXPECT_EQ(os.CallsOf("Sleep").size(), 14u);
}

}  // namespace
}  // namespace brindle
