#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTest>
#include <QWidget>
#include <cstdint>
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
constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kEarliest = std::numeric_limits<std::int64_t>::min();

struct DelayCase {
    const char* what;
    std::int64_t wallNs;
    int intervalMs;
    std::int64_t delayNs;
};

void PrintTo(const DelayCase& c, std::ostream* out) {
    *out << c.what << " (" << c.wallNs << " ns, every " << c.intervalMs << " ms)";
}

class DelayToNextTickTable : public testing::TestWithParam<DelayCase> {};

TEST_P(DelayToNextTickTable, WaitsUntilJustAfterTheNextBoundary) {
    const DelayCase& c = GetParam();
    EXPECT_EQ(DelayToNextTickNs(c.wallNs, c.intervalMs), c.delayNs) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    QuarterSeconds, DelayToNextTickTable,
    testing::Values(DelayCase{"on a boundary: the next one", kSecond, 250, 250 * kMs + 200 * kUs},
                    DelayCase{"1 ns before a boundary", kSecond - 1, 250, 200 * kUs + 1},
                    DelayCase{"1 ns after a boundary", kSecond + 1, 250, 250 * kMs + 200 * kUs - 1},
                    DelayCase{"1 ms before a boundary", kSecond - kMs, 250, 1200 * kUs},
                    DelayCase{"mid-period, between milliseconds", kSecond + 125 * kMs + 300 * kUs,
                              250, 124 * kMs + 900 * kUs},
                    DelayCase{"on a quarter that is no whole second", kSecond + 750 * kMs, 250,
                              250 * kMs + 200 * kUs},
                    DelayCase{"1 ns before 1970", -1, 250, 200 * kUs + 1},
                    DelayCase{"a boundary before 1970", -250 * kMs, 250, 250 * kMs + 200 * kUs},
                    DelayCase{"the latest time", kLatest, 250, 145'424'193},
                    DelayCase{"the earliest time", kEarliest, 250, 104'975'808}));

INSTANTIATE_TEST_SUITE_P(
    WholeSeconds, DelayToNextTickTable,
    testing::Values(DelayCase{"on a boundary: the next one", kSecond, 1000, 1000 * kMs + 200 * kUs},
                    DelayCase{"1 ns before a boundary", kSecond - 1, 1000, 200 * kUs + 1},
                    DelayCase{"mid-period", kSecond + 500 * kMs, 1000, 500 * kMs + 200 * kUs},
                    DelayCase{"a quarter second is no boundary", kSecond + 250 * kMs, 1000,
                              750 * kMs + 200 * kUs},
                    DelayCase{"1 ms into a second before 1970", -999 * kMs, 1000,
                              999 * kMs + 200 * kUs},
                    DelayCase{"the latest time", kLatest, 1000, 145'424'193},
                    DelayCase{"the earliest time", kEarliest, 1000, 854'975'808},
                    DelayCase{"the longest period", kSecond, std::numeric_limits<int>::max(),
                              842'212'539'200'000}));

INSTANTIATE_TEST_SUITE_P(NoPeriod, DelayToNextTickTable,
                         testing::Values(DelayCase{"a period of zero", kSecond + 3, 0, 0},
                                         DelayCase{"a negative period", kSecond + 3, -250, 0}));

TEST(DelayToNextTick, EveryStartingPointLandsJustAfterTheFollowingBoundary) {
    for (const int interval : {250, 1000}) {
        const std::int64_t intervalNs = interval * kMs;
        // Steps of a prime number of nanoseconds reach every part of the millisecond.
        for (std::int64_t wall = kSecond - 1000 * kMs; wall <= kSecond + 1000 * kMs;
             wall += 99'991) {
            const std::int64_t delay = DelayToNextTickNs(wall, interval);
            const std::int64_t boundary = wall + delay - kTickSlackNs;
            ASSERT_EQ(boundary % intervalNs, 0) << wall << " every " << interval;
            ASSERT_GT(boundary, wall) << wall << " every " << interval;
            ASSERT_LE(boundary - wall, intervalNs) << wall << " every " << interval;
        }
    }
}

TEST(TickSettings, TheBuildAloneChoosesTheAlignmentWhateverTheEnvironment) {
#ifdef BRINDLE_FREE_RUNNING_TICKS
    constexpr TickAlignment built = TickAlignment::FreeRunning;
#else
    constexpr TickAlignment built = TickAlignment::WallClock;
#endif
    qputenv("BRINDLE_FREE_RUNNING_TICKS", "1");
    EXPECT_EQ(TickSettings::ForThisBuild().alignment, built);
    EXPECT_EQ(QtWindowSystem().Ticks().alignment, built);
    qunsetenv("BRINDLE_FREE_RUNNING_TICKS");
    EXPECT_EQ(TickSettings::ForThisBuild().alignment, built);
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
    EXPECT_EQ(native->ArmedDelayNs(), 149 * kMs + 900 * kUs);
}

TEST_F(QtTickTimerTest, EachTickAimsTheNextAtTheWallClocksNextBoundaryBeforeItsHandlerRuns) {
    // Where the wall clock stands as each tick arrives: on time, 29 ms late, after the machine
    // slept for an hour, and after the clock was set back a minute to just before a boundary.
    const std::vector<std::int64_t> arrivals = {
        kSecond + 250 * kMs + 200 * kUs, kSecond + 529 * kMs + 450 * kUs,
        kSecond + 3'600'000 * kMs + 137 * kMs, kSecond - 60'000 * kMs + 249 * kMs};
    const std::vector<std::int64_t> expectedDelays = {250 * kMs, 220 * kMs + 750 * kUs,
                                                      113 * kMs + 200 * kUs, 1200 * kUs};
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
    EXPECT_EQ(native->ArmedDelayNs(), 10 * kMs + 200 * kUs);
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
    EXPECT_EQ(native->ArmedDelayNs(), 150 * kMs + 200 * kUs);
}

TEST_F(QtTickTimerTest, TicksGoOnWhileAHandlerWaitsInANestedEventLoop) {
    // Every tick is aimed 1.2 ms ahead, so the nested wait is short.
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
