#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
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

// A whole second of the wall clock (7 December 2026, 00:00:00 UTC), so it is also on every
// quarter-second boundary.
constexpr std::int64_t kSecond = 1'796'601'600'000;
constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kEarliest = std::numeric_limits<std::int64_t>::min();

struct DelayCase {
    const char* what;
    std::int64_t wallMs;
    std::int64_t intervalMs;
    std::int64_t delayMs;
};

void PrintTo(const DelayCase& c, std::ostream* out) {
    *out << c.what << " (" << c.wallMs << " ms, every " << c.intervalMs << " ms)";
}

class DelayToNextTickTable : public testing::TestWithParam<DelayCase> {};

TEST_P(DelayToNextTickTable, WaitsUntilJustAfterTheNextBoundary) {
    const DelayCase& c = GetParam();
    EXPECT_EQ(DelayToNextTick(c.wallMs, c.intervalMs), c.delayMs) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    QuarterSeconds, DelayToNextTickTable,
    testing::Values(DelayCase{"on a boundary: the next one", kSecond, 250, 251},
                    DelayCase{"1 ms before a boundary", kSecond - 1, 250, 2},
                    DelayCase{"1 ms after a boundary", kSecond + 1, 250, 250},
                    DelayCase{"mid-period", kSecond + 125, 250, 126},
                    DelayCase{"on a quarter that is no whole second", kSecond + 750, 250, 251},
                    DelayCase{"1 ms before 1970", -1, 250, 2},
                    DelayCase{"a boundary before 1970", -250, 250, 251},
                    DelayCase{"the latest time", kLatest, 250, 194},
                    DelayCase{"the earliest time", kEarliest, 250, 59}));

INSTANTIATE_TEST_SUITE_P(
    WholeSeconds, DelayToNextTickTable,
    testing::Values(DelayCase{"on a boundary: the next one", kSecond, 1000, 1001},
                    DelayCase{"1 ms before a boundary", kSecond - 1, 1000, 2},
                    DelayCase{"1 ms after a boundary", kSecond + 1, 1000, 1000},
                    DelayCase{"mid-period", kSecond + 500, 1000, 501},
                    DelayCase{"a quarter second is no boundary", kSecond + 250, 1000, 751},
                    DelayCase{"1 ms into a second before 1970", -999, 1000, 1000},
                    DelayCase{"the latest time", kLatest, 1000, 194},
                    DelayCase{"the earliest time", kEarliest, 1000, 809}));

INSTANTIATE_TEST_SUITE_P(NoPeriod, DelayToNextTickTable,
                         testing::Values(DelayCase{"a period of zero", kSecond + 3, 0, 0},
                                         DelayCase{"a negative period", kSecond + 3, -250, 0}));

TEST(DelayToNextTick, EveryStartingMillisecondLandsJustAfterTheFollowingBoundary) {
    for (const std::int64_t interval : {250, 1000}) {
        for (std::int64_t wall = kSecond - 1000; wall <= kSecond + 1000; ++wall) {
            const std::int64_t delay = DelayToNextTick(wall, interval);
            const std::int64_t boundary = wall + delay - kTickSlackMs;
            ASSERT_EQ(boundary % interval, 0) << wall << " every " << interval;
            ASSERT_GT(boundary, wall) << wall << " every " << interval;
            ASSERT_LE(boundary - wall, interval) << wall << " every " << interval;
        }
    }
}

TEST(TickSettings, OnlyTheSwitchSetToOneKeepsTheFreeRunningTimer) {
    const QByteArray previous = qgetenv("BRINDLE_FREE_RUNNING_TICKS");
    const bool wasSet = qEnvironmentVariableIsSet("BRINDLE_FREE_RUNNING_TICKS");

    qunsetenv("BRINDLE_FREE_RUNNING_TICKS");
    EXPECT_EQ(TickSettings::FromEnvironment().alignment, TickAlignment::WallClock);
    qputenv("BRINDLE_FREE_RUNNING_TICKS", "1");
    EXPECT_EQ(TickSettings::FromEnvironment().alignment, TickAlignment::FreeRunning);
    qputenv("BRINDLE_FREE_RUNNING_TICKS", "0");
    EXPECT_EQ(TickSettings::FromEnvironment().alignment, TickAlignment::WallClock);

    if (wasSet) {
        qputenv("BRINDLE_FREE_RUNNING_TICKS", previous);
    } else {
        qunsetenv("BRINDLE_FREE_RUNNING_TICKS");
    }
}

// The wall clock the timers under test read; each test sets it.
std::int64_t fakeWallMs = 0;

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
        settings.wallClockMs = [] { return fakeWallMs; };
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

    QTimer* Native() {
        QtWindowPeer* peer = windows->Find(form->hWnd());
        return peer == nullptr ? nullptr : peer->Window()->findChild<QTimer*>("tmrTick");
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

TEST_F(QtTickTimerTest, EnablingArmsOnePreciseShotForJustAfterTheNextBoundary) {
    fakeWallMs = kSecond + 100;
    Open(TickAlignment::WallClock);
    QTimer* native = Native();
    ASSERT_NE(native, nullptr);
    EXPECT_FALSE(native->isActive());

    Control().SetEnabled(true);

    EXPECT_TRUE(native->isActive());
    EXPECT_TRUE(native->isSingleShot());
    EXPECT_EQ(native->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(native->interval(), 151);
}

TEST_F(QtTickTimerTest, EachTickAimsTheNextAtTheWallClocksNextBoundaryBeforeItsHandlerRuns) {
    // Where the wall clock stands as each tick arrives: on time, 29 ms late, after the machine
    // slept for an hour, and after the clock was set back a minute to just before a boundary.
    const std::vector<std::int64_t> arrivals = {kSecond + 251, kSecond + 530,
                                                kSecond + 3'600'000 + 137, kSecond - 60'000 + 249};
    const std::vector<int> expectedDelays = {250, 221, 114, 2};
    std::vector<int> armedDuringHandler;
    std::vector<bool> activeDuringHandler;
    fakeWallMs = kSecond + 240;
    Open(TickAlignment::WallClock);
    QTimer* native = Native();
    ASSERT_NE(native, nullptr);
    onTick = [&] {
        activeDuringHandler.push_back(native->isActive());
        armedDuringHandler.push_back(native->interval());
        const auto tick = static_cast<std::size_t>(ticks);
        if (tick < arrivals.size()) {
            fakeWallMs = arrivals[tick];
        } else {
            Control().SetEnabled(false);
        }
    };
    Control().SetEnabled(true);
    EXPECT_EQ(native->interval(), 11);
    fakeWallMs = arrivals[0];

    ASSERT_TRUE(WaitForTicks(static_cast<int>(arrivals.size())));

    EXPECT_EQ(armedDuringHandler, expectedDelays);
    EXPECT_EQ(activeDuringHandler, std::vector<bool>(arrivals.size(), true));
    EXPECT_FALSE(native->isActive());
}

TEST_F(QtTickTimerTest, FreeRunningTicksKeepTheControlsPeriodWhateverTheWallClock) {
    fakeWallMs = kSecond + 100;
    Open(TickAlignment::FreeRunning);
    QTimer* native = Native();
    ASSERT_NE(native, nullptr);
    Control().SetEnabled(true);
    EXPECT_EQ(native->interval(), 250);

    fakeWallMs = kSecond + 3'600'000 + 137;
    ASSERT_TRUE(WaitForTicks(1));
    EXPECT_TRUE(native->isActive());
    EXPECT_EQ(native->interval(), 250);
}

TEST_F(QtTickTimerTest, DisablingTheControlStopsItsTimer) {
    fakeWallMs = kSecond + 100;
    Open(TickAlignment::WallClock);
    QTimer* native = Native();
    ASSERT_NE(native, nullptr);
    Control().SetEnabled(true);
    ASSERT_TRUE(native->isActive());

    Control().SetEnabled(false);

    EXPECT_FALSE(native->isActive());
}

TEST_F(QtTickTimerTest, AHandlerThatDisablesItsTimerGetsNoFurtherTick) {
    fakeWallMs = kSecond + 249;
    Open(TickAlignment::WallClock);
    QTimer* native = Native();
    ASSERT_NE(native, nullptr);
    onTick = [&] { Control().SetEnabled(false); };
    Control().SetEnabled(true);

    ASSERT_TRUE(WaitForTicks(1));

    EXPECT_FALSE(native->isActive());
    EXPECT_EQ(ticks, 1);
}

TEST_F(QtTickTimerTest, TicksGoOnWhileAHandlerWaitsInANestedEventLoop) {
    // Every tick is aimed 2 ms ahead, so the nested wait is short.
    fakeWallMs = kSecond + 249;
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

TEST_F(QtTickTimerTest, UnloadingTheWindowStopsItsTimer) {
    fakeWallMs = kSecond + 249;
    Open(TickAlignment::WallClock);
    QPointer<QTimer> native = Native();
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
