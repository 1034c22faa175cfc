#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
#include "runtime/runtime.h"
#include "win32_window_peer.h"
#include "win32_window_system.h"

// After the program's headers: Windows' macros share names with the declared constants.
#include <windows.h>

namespace brindle {
namespace {

// The wall clock the timers under test read, and how often they read it. It stands 1 ms before a
// whole second, so each aligned tick is aimed 2 ms ahead and the tests wait little.
constexpr std::int64_t kJustBeforeASecondNs = 1'796'601'600'000'000'000 - 1'000'000;
int wallClockReads = 0;

// A window of the test's own with one quarter-second timer.
class Win32TickTimerTest : public testing::Test {
protected:
    void SetUp() override {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
        if (probe == nullptr) {
            GTEST_SKIP() << "no display to create windows on";
        }
        DestroyWindow(probe);
        ControlLayout timer;
        timer.name = "Tick";
        timer.kind = ControlKind::Timer;
        timer.timerInterval = 250;
        layout.controls = {timer};
        form.onBind = [this](FormFake& self) {
            self.Get<Timer>("Tick").OnTimer([this] {
                ++ticks;
                onTick();
            });
        };
        form.Load();
    }
    ~Win32TickTimerTest() override { form.Unload(); }
    Timer& Control() { return form.Get<Timer>("Tick"); }

    // Runs the message loop until count ticks came or the time is up, and counts the timer
    // messages among those dispatched.
    int Pump(int count, ULONGLONG milliseconds = 10000) {
        int shots = 0;
        const ULONGLONG until = GetTickCount64() + milliseconds;
        while (ticks < count && GetTickCount64() < until) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                shots += message.message == Win32WindowPeer::kTickMessage;
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return shots;
    }

    WindowLayout layout;
    Win32WindowSystem windows{{TickAlignment::WallClock, [] {
                                   ++wallClockReads;
                                   return kJustBeforeASecondNs;
                               }}};
    ClockFake clock;
    OsFunctionsFake os{clock};
    Runtime runtime{windows, os, clock};
    FormFake form{runtime, layout};
    int ticks = 0;
    std::function<void()> onTick = [] {};
};

TEST_F(Win32TickTimerTest, EachTickIsAimedFromTheWallClockBeforeItsHandlerRuns) {
    wallClockReads = 0;
    int readsBeforeHandler = -1;
    onTick = [&] { readsBeforeHandler = wallClockReads; };
    Control().SetEnabled(true);
    Pump(1);
    // Enabling read the clock once, and the tick read it again before its handler.
    EXPECT_EQ(readsBeforeHandler, 2);
}

TEST_F(Win32TickTimerTest, TicksGoOnInANestedMessageLoopAndStopOnceDisabled) {
    bool nestedTicksArrived = false;
    onTick = [&] {
        if (ticks == 1) {
            Pump(3);
            nestedTicksArrived = ticks >= 3;
            Control().SetEnabled(false);
        }
    };
    Control().SetEnabled(true);
    Pump(1);
    EXPECT_TRUE(nestedTicksArrived);
    // The shot armed before the handler ran was cancelled with the timer.
    const int ticksWhenDisabled = ticks;
    EXPECT_EQ(Pump(ticks + 1, 300), 0);
    EXPECT_EQ(ticks, ticksWhenDisabled);
}

}  // namespace
}  // namespace brindle
