#include "tick_alignment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace brindle {
namespace {

// 7 December 2026, 00:00:00 UTC in nanoseconds: a whole second, so also a quarter second.
constexpr std::int64_t kSecond = 1'796'601'600'000'000'000;
constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kUs = 1'000;

TEST(TickAlignment, EachTickIsAimedATenthOfAMillisecondAfterTheNextBoundary) {
    struct Row {
        const char* what;
        std::int64_t wallNs;
        int intervalMs;
        std::int64_t delayNs;
    };
    const std::vector<Row> rows = {
        {"on a boundary: the next one", kSecond, 250, 250 * kMs + 100 * kUs},
        {"1 ns before a boundary", kSecond - 1, 250, 100 * kUs + 1},
        {"mid-period", kSecond + 125 * kMs + 300'000, 250, 124 * kMs + 800'000},
        {"a quarter is no whole second", kSecond + 250 * kMs, 1000, 750 * kMs + 100 * kUs},
        {"1 ns before 1970", -1, 250, 100 * kUs + 1},
        {"1 ms into a second before 1970", -999 * kMs, 1000, 999 * kMs + 100 * kUs},
        {"the latest time", std::numeric_limits<std::int64_t>::max(), 250, 145'324'193},
        {"the earliest time", std::numeric_limits<std::int64_t>::min(), 1000, 854'875'808},
        {"a period of zero", kSecond + 3, 0, 0},
        {"a negative period", kSecond + 3, -250, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DelayToNextTickNs(row.wallNs, row.intervalMs), row.delayNs) << row.what;
    }
}

// A quarter-second timer aimed at one wall-clock time whose shot fires at another: whether the
// shot is the tick, and where the next one is aimed.
TEST(TickAim, AShotThatFindsTheOldPeriodIsNoTickAndIsAimedAtTheSameBoundaryAgain) {
    struct Row {
        const char* what;
        TickAlignment alignment;
        int intervalMs;
        std::int64_t aimedAt;
        std::int64_t firedAt;
        ShotArrival arrival;
        std::int64_t nextDelayNs;
    };
    const std::int64_t aimed = kSecond + 240 * kMs;
    const TickAlignment aligned = TickAlignment::WallClock;
    const std::vector<Row> rows = {
        {"just after the boundary", aligned, 250, aimed, kSecond + 250 * kMs + 100 * kUs,
         ShotArrival::Tick, 250 * kMs},
        {"exactly on the boundary", aligned, 250, aimed, kSecond + 250 * kMs, ShotArrival::Tick,
         250 * kMs + 100 * kUs},
        {"50 us before the boundary", aligned, 250, aimed, kSecond + 250 * kMs - 50 * kUs,
         ShotArrival::Early, 150 * kUs},
        {"1 ns before the boundary", aligned, 250, aimed, kSecond + 250 * kMs - 1,
         ShotArrival::Early, 100 * kUs + 1},
        {"the clock stepped back within the period", aligned, 250, aimed, kSecond + 100 * kMs,
         ShotArrival::Early, 150 * kMs + 100 * kUs},
        {"the clock stepped back into the period before", aligned, 250, aimed, kSecond - 10 * kMs,
         ShotArrival::Tick, 10 * kMs + 100 * kUs},
        {"the clock jumped an hour ahead", aligned, 250, aimed,
         kSecond + 3'600'000 * kMs + 40 * kMs, ShotArrival::Tick, 210 * kMs + 100 * kUs},
        {"early before 1970", aligned, 250, -240 * kMs, -10 * kMs, ShotArrival::Early,
         10 * kMs + 100 * kUs},
        {"stepped back to its period's start before 1970", aligned, 250, -240 * kMs, -250 * kMs,
         ShotArrival::Early, 250 * kMs + 100 * kUs},
        {"on time before 1970", aligned, 250, -240 * kMs, 0, ShotArrival::Tick,
         250 * kMs + 100 * kUs},
        {"a period of zero ticks at once", aligned, 0, aimed, aimed, ShotArrival::Tick, 0},
        {"free-running: every shot ticks", TickAlignment::FreeRunning, 250, aimed,
         kSecond + 100 * kMs, ShotArrival::Tick, 250 * kMs},
    };
    for (const Row& row : rows) {
        std::int64_t wallNs = row.aimedAt;
        TickAim aim({row.alignment, [&] { return wallNs; }});
        aim.AimNs(row.intervalMs);
        wallNs = row.firedAt;
        const FiredShot shot = aim.Fired(row.intervalMs);
        EXPECT_EQ(shot.arrival, row.arrival) << row.what;
        EXPECT_EQ(shot.nextDelayNs, row.nextDelayNs) << row.what;
    }
}

TEST(TickAim, AnAlignedTimerIsFirstAimedJustPastTheNextBoundaryAndAFreeRunningOneAPeriodAhead) {
    EXPECT_EQ(TickAim({TickAlignment::WallClock, [] { return kSecond + 999 * kMs; }}).AimNs(1000),
              kMs + 100 * kUs);
    EXPECT_EQ(TickAim({TickAlignment::FreeRunning, [] { return kSecond + 1; }}).AimNs(250),
              250 * kMs);
}

}  // namespace
}  // namespace brindle
