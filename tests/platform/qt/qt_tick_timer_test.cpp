#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

#include "clock_fake.h"
#include "form_fake.h"
#include "os_functions_fake.h"
#include "qt/qt_tick_timer.h"
#include "qt/qt_window_peer.h"
#include "qt/qt_window_system.h"
#include "runtime/runtime.h"

namespace brindle {
namespace {

// A whole second of the wall clock (7 December 2026, 00:00:00 UTC) in nanoseconds, so it is also
// on every quarter-second boundary.
constexpr std::int64_t kSecond = 1'796'601'600'000'000'000;
constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kUs = 1'000;

TEST(TickSettings, TheProgramsTimersReadTheRealWallClockWithTheBuildsAlignment) {
    const QtWindowSystem system;
    EXPECT_EQ(system.Ticks().alignment, kBuildTickAlignment);
    // Read against the C library's clock, which counts whole seconds; a minute covers any pause.
    const std::int64_t seconds = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_LT(std::llabs(system.Ticks().wallClockNs() / 1'000'000'000 - seconds), 60);
}

// The wall clock the timers under test read; each test sets it.
std::int64_t fakeWallNs = 0;

// A window of its own with one quarter-second timer, on a window system whose timers read the
// fake wall clock. The timers themselves run in real time: only where they aim comes from the
// fake clock, so every wait here is short.
class QtTickTimerTest : public testing::Test {
protected:
    QtTickTimerTest() {
        layout.name = "frmTicks";
        layout.clientArea = {0, 0, 1200, 600};
        ControlLayout timer;
        timer.name = "tmrTick";
        timer.kind = ControlKind::Timer;
        timer.timerEnabled = false;
        timer.timerInterval = 250;
        layout.controls.push_back(timer);
    }

    ~QtTickTimerTest() override {
        if (form) {
            form->Unload();
        }
        form.reset();
        runtime.reset();
        windows.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Open(TickAlignment alignment) {
        TickSettings settings;
        settings.alignment = alignment;
        settings.wallClockNs = [] { return fakeWallNs; };
        windows = std::make_unique<QtWindowSystem>(settings);
        runtime = std::make_unique<Runtime>(*windows, os, clock);
        form = std::make_unique<FormFake>(*runtime, layout);
        form->onBind = [this](FormFake& f) {
            f.Get<Timer>("tmrTick").OnTimer([this] {
                ++ticks;
                if (onTick) {
                    onTick();
                }
            });
        };
        form->Load();
    }

    Timer& Control() { return form->Get<Timer>("tmrTick"); }

    QtTickTimer* Native() {
        QtWindowPeer* peer = windows->Find(form->hWnd());
        return peer == nullptr
                   ? nullptr
                   : dynamic_cast<QtTickTimer*>(peer->Window()->findChild<QObject*>("tmrTick"));
    }

    bool WaitForTicks(int count) {
        return QTest::qWaitFor([&] { return ticks >= count; }, 5000);
    }

    WindowLayout layout;
    ClockFake clock;
    OsFunctionsFake os{clock};
    std::unique_ptr<QtWindowSystem> windows;
    std::unique_ptr<Runtime> runtime;
    std::unique_ptr<FormFake> form;
    int ticks = 0;
    std::function<void()> onTick;
};

TEST_F(QtTickTimerTest, EnablingArmsOneShotForJustAfterTheNextBoundary) {
    fakeWallNs = kSecond + 100 * kMs + 300 * kUs;
    Open(TickAlignment::WallClock);
    QtTickTimer* native = Native();
    ASSERT_NE(native, nullptr);
    EXPECT_FALSE(native->isActive());

    Control().SetEnabled(true);

    EXPECT_TRUE(native->isActive());
    EXPECT_EQ(native->ArmedDelayNs(), 150 * kMs + 700 * kUs);
}

TEST_F(QtTickTimerTest, EachTickAimsTheNextAtTheWallClocksNextBoundaryBeforeItsHandlerRuns) {
    // Where the wall clock stands as each tick arrives: on time, 29 ms late, after the machine
    // slept for an hour, and after the clock was set back a minute to just before a boundary.
    const std::vector<std::int64_t> arrivals = {
        kSecond + 251 * kMs, kSecond + 529 * kMs + 450 * kUs, kSecond + 3'600'000 * kMs + 137 * kMs,
        kSecond - 60'000 * kMs + 249 * kMs};
    const std::vector<std::int64_t> expectedDelays = {250 * kMs, 221 * kMs + 550 * kUs, 114 * kMs,
                                                      2 * kMs};
    std::vector<std::int64_t> armedDuringHandler;
    std::vector<bool> activeDuringHandler;
    fakeWallNs = kSecond + 240 * kMs;
    Open(TickAlignment::WallClock);
    QtTickTimer* native = Native();
    ASSERT_NE(native, nullptr);
    onTick = [&] {
        activeDuringHandler.push_back(native->isActive());
        armedDuringHandler.push_back(native->ArmedDelayNs());
        const auto tick = static_cast<std::size_t>(ticks);
        if (tick < arrivals.size()) {
            fakeWallNs = arrivals[tick];
        } else {
            Control().SetEnabled(false);
        }
    };
    Control().SetEnabled(true);
    EXPECT_EQ(native->ArmedDelayNs(), 11 * kMs);
    fakeWallNs = arrivals[0];

    ASSERT_TRUE(WaitForTicks(static_cast<int>(arrivals.size())));

    EXPECT_EQ(armedDuringHandler, expectedDelays);
    EXPECT_EQ(activeDuringHandler, std::vector<bool>(arrivals.size(), true));
    EXPECT_FALSE(native->isActive());
}

TEST_F(QtTickTimerTest, FreeRunningTicksKeepTheControlsPeriodWhateverTheWallClock) {
    fakeWallNs = kSecond + 100 * kMs;
    Open(TickAlignment::FreeRunning);
    QtTickTimer* native = Native();
    ASSERT_NE(native, nullptr);
    Control().SetEnabled(true);
    EXPECT_EQ(native->ArmedDelayNs(), 250 * kMs);

    fakeWallNs = kSecond + 3'600'000 * kMs + 137 * kMs;
    ASSERT_TRUE(WaitForTicks(1));
    EXPECT_TRUE(native->isActive());
    EXPECT_EQ(native->ArmedDelayNs(), 250 * kMs);
}

TEST_F(QtTickTimerTest, DisablingTheControlStopsItsTimer) {
    fakeWallNs = kSecond + 100 * kMs;
    Open(TickAlignment::WallClock);
    QtTickTimer* native = Native();
    ASSERT_NE(native, nullptr);
    Control().SetEnabled(true);
    ASSERT_TRUE(native->isActive());

    Control().SetEnabled(false);

    EXPECT_FALSE(native->isActive());
    EXPECT_EQ(native->ArmedDelayNs(), 0);
}

TEST_F(QtTickTimerTest, AHandlerThatDisablesItsTimerGetsNoFurtherTick) {
    fakeWallNs = kSecond + 249 * kMs;
    Open(TickAlignment::WallClock);
    QtTickTimer* native = Native();
    ASSERT_NE(native, nullptr);
    onTick = [&] { Control().SetEnabled(false); };
    Control().SetEnabled(true);

    ASSERT_TRUE(WaitForTicks(1));

    EXPECT_FALSE(native->isActive());
    EXPECT_EQ(ticks, 1);
}

TEST_F(QtTickTimerTest, AWakeUpWithoutAnExpiryRunsNoTick) {
    fakeWallNs = kSecond + 100 * kMs;
    Open(TickAlignment::WallClock);
    QtTickTimer* native = Native();
    ASSERT_NE(native, nullptr);
    Control().SetEnabled(true);
    auto* notifier = native->findChild<QSocketNotifier*>();
    ASSERT_NE(notifier, nullptr);

    // The event loop reports the timer readable although its expiry was already taken.
    QEvent readable(QEvent::SockAct);
    QCoreApplication::sendEvent(notifier, &readable);

    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(native->ArmedDelayNs(), 151 * kMs);
}

TEST_F(QtTickTimerTest, TicksGoOnWhileAHandlerWaitsInANestedEventLoop) {
    // Every tick is aimed 2 ms ahead, so the nested wait is short.
    fakeWallNs = kSecond + 249 * kMs;
    Open(TickAlignment::WallClock);
    bool nestedTicksArrived = false;
    int ticksAfterNestedWait = 0;
    onTick = [&] {
        if (ticks == 1) {
            nestedTicksArrived = WaitForTicks(3);
            ticksAfterNestedWait = ticks;
            Control().SetEnabled(false);
        }
    };
    Control().SetEnabled(true);

    ASSERT_TRUE(WaitForTicks(1));

    EXPECT_TRUE(nestedTicksArrived);
    EXPECT_EQ(ticks, ticksAfterNestedWait);
}

TEST_F(QtTickTimerTest, UnloadingTheWindowStopsItsTimer) {
    fakeWallNs = kSecond + 249 * kMs;
    Open(TickAlignment::WallClock);
    QPointer<QtTickTimer> native = Native();
    ASSERT_FALSE(native.isNull());
    Control().SetEnabled(true);
    ASSERT_TRUE(native->isActive());

    form->Unload();

    EXPECT_TRUE(native.isNull() || !native->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(native.isNull());
}

}  // namespace
}  // namespace brindle

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
