#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
#include "runtime/runtime.h"
#include "win32_tick_timer.h"
#include "win32_window_peer.h"
#include "win32_window_system.h"

// After the program's headers: Windows' macros share names with the declared constants.
#include <windows.h>

namespace brindle {
namespace {

// A whole second of the wall clock (7 December 2026, 00:00:00 UTC), so it is also on every
// quarter-second boundary.
constexpr std::int64_t kSecondNs = 1'796'601'600'000'000'000;
constexpr std::int64_t kMsNs = 1'000'000;

TEST(TickSettings, TheProgramsTimersReadTheSystemsWallClockWithTheBuildsAlignment) {
    const Win32WindowSystem system;
    EXPECT_EQ(system.Ticks().alignment, kBuildTickAlignment);
    // Read against the C library's clock, which counts whole seconds; a minute covers any pause.
    const std::int64_t seconds = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_LT(std::llabs(system.Ticks().wallClockNs() / 1'000'000'000 - seconds), 60);
}

// Reads of the wall clock the timers under test make; each test sets where it stands.
std::int64_t fakeWallNs = 0;
int wallClockReads = 0;

// A window of its own with one timer, on a window system whose timers read the fake wall clock,
// which stands 1 ms before a boundary: each aligned tick is aimed 2 ms ahead, so the tests wait
// little.
class Win32TickTimerTest : public testing::Test {
protected:
    Win32TickTimerTest() {
        layout.name = "TickWindow";
        layout.clientArea = {0, 0, 600, 600};
        ControlLayout timer;
        timer.name = "Tick";
        timer.kind = ControlKind::Timer;
        timer.timerEnabled = false;
        timer.timerInterval = 250;
        layout.controls = {timer};
        fakeWallNs = kSecondNs - kMsNs;
        wallClockReads = 0;
    }

    // Windows need a display. Without one (Wine with no X server) the tests are skipped.
    void SetUp() override {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (probe == nullptr) {
            GTEST_SKIP() << "no display to create windows on";
        }
        DestroyWindow(probe);
    }

    ~Win32TickTimerTest() override {
        if (form) {
            form->Unload();
        }
    }

    void Open(TickAlignment alignment) {
        TickSettings settings;
        settings.alignment = alignment;
        settings.wallClockNs = [] {
            ++wallClockReads;
            return fakeWallNs;
        };
        windows = std::make_unique<Win32WindowSystem>(settings);
        runtime = std::make_unique<Runtime>(*windows, os, clock);
        form = std::make_unique<FormFake>(*runtime, layout);
        form->onBind = [this](FormFake& self) {
            self.Get<Timer>("Tick").OnTimer([this] {
                ++ticks;
                if (onTick) {
                    onTick();
                }
            });
        };
        form->Load();
    }

    Timer& Control() { return form->Get<Timer>("Tick"); }
    HWND Window() { return reinterpret_cast<HWND>(form->hWnd()); }

    // Runs the message loop until count ticks came, within a generous bound so a slow machine
    // cannot hang the test.
    bool WaitForTicks(int count) {
        const ULONGLONG giveUp = GetTickCount64() + 10000;
        while (ticks < count && GetTickCount64() < giveUp) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            if (ticks < count) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            }
        }
        return ticks >= count;
    }

    // Dispatches messages for a while and counts the timer shots among them; each shot here is
    // aimed a few milliseconds ahead, so one that was left armed would come many times over.
    int ShotsWithin(DWORD milliseconds) {
        int shots = 0;
        const ULONGLONG until = GetTickCount64() + milliseconds;
        while (GetTickCount64() < until) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == Win32WindowPeer::kTickMessage ||
                    message.message == WM_TIMER) {
                    ++shots;
                }
                DispatchMessageW(&message);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return shots;
    }

    WindowLayout layout;
    ClockFake clock;
    OsFunctionsFake os{clock};
    std::unique_ptr<Win32WindowSystem> windows;
    std::unique_ptr<Runtime> runtime;
    std::unique_ptr<FormFake> form;
    int ticks = 0;
    std::function<void()> onTick;
};

TEST_F(Win32TickTimerTest, EachAlignedTickAimsTheNextFromTheWallClockBeforeItsHandlerRuns) {
    Open(TickAlignment::WallClock);
    int readsBeforeHandler = -1;
    onTick = [&] {
        if (ticks == 1) {
            readsBeforeHandler = wallClockReads;
        }
    };
    Control().SetEnabled(true);
    EXPECT_EQ(wallClockReads, 1);

    ASSERT_TRUE(WaitForTicks(3));

    // Enabling read the clock once, and the first tick read it again before its handler.
    EXPECT_EQ(readsBeforeHandler, 2);
    EXPECT_EQ(wallClockReads, ticks + 1);
}

TEST_F(Win32TickTimerTest, FreeRunningTicksNeverReadTheWallClock) {
    Open(TickAlignment::FreeRunning);
    Control().SetEnabled(true);

    ASSERT_TRUE(WaitForTicks(2));

    EXPECT_EQ(wallClockReads, 0);
}

TEST_F(Win32TickTimerTest, TicksGoOnWhileAHandlerWaitsInANestedMessageLoop) {
    Open(TickAlignment::WallClock);
    bool nestedTicksArrived = false;
    onTick = [&] {
        if (ticks == 1) {
            nestedTicksArrived = WaitForTicks(3);
        }
    };
    Control().SetEnabled(true);

    ASSERT_TRUE(WaitForTicks(1));

    EXPECT_TRUE(nestedTicksArrived);
}

TEST_F(Win32TickTimerTest, AHandlerThatDisablesItsTimerCancelsTheShotArmedForTheNextTick) {
    Open(TickAlignment::WallClock);
    onTick = [&] { Control().SetEnabled(false); };
    Control().SetEnabled(true);

    ASSERT_TRUE(WaitForTicks(1));

    // The next shot was armed before the handler ran; disabling cancelled it.
    EXPECT_EQ(ShotsWithin(300), 0);
    EXPECT_EQ(ticks, 1);
}

TEST_F(Win32TickTimerTest, DisablingTheControlCancelsItsArmedShot) {
    Open(TickAlignment::WallClock);
    Control().SetEnabled(true);
    Control().SetEnabled(false);

    EXPECT_EQ(ShotsWithin(300), 0);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace brindle
