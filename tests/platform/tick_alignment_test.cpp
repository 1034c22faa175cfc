#include "tick_alignment.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace brindle {
namespace {

// A whole second of the wall clock (7 December 2026, 00:00:00 UTC) in nanoseconds, so it is also
// on every quarter-second boundary.
constexpr std::int64_t kSecond = 1'796'601'600'000'000'000;
constexpr std::int64_t kMs = 1'000'000;

TEST(TickAlignment, EachTickIsAimedOneMillisecondAfterTheNextBoundary) {
    struct Row {
        const char* what;
        std::int64_t wallNs;
        int intervalMs;
        std::int64_t delayNs;
    };
    constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kEarliest = std::numeric_limits<std::int64_t>::min();
    const std::vector<Row> rows = {
        {"on a boundary: the next one", kSecond, 250, 251 * kMs},
        {"1 ns before a boundary", kSecond - 1, 250, kMs + 1},
        {"1 ns after a boundary", kSecond + 1, 250, 251 * kMs - 1},
        {"mid-period, between milliseconds", kSecond + 125 * kMs + 300'000, 250,
         124 * kMs + 700'000 + kMs},
        {"on a quarter that is no whole second", kSecond + 750 * kMs, 250, 251 * kMs},
        {"1 ns before 1970", -1, 250, kMs + 1},
        {"a boundary before 1970", -250 * kMs, 250, 251 * kMs},
        {"a quarter second is no boundary of whole seconds", kSecond + 250 * kMs, 1000, 751 * kMs},
        {"1 ms into a second before 1970", -999 * kMs, 1000, 1000 * kMs},
        {"the latest time", kLatest, 250, 146'224'193},
        {"the earliest time", kEarliest, 1000, 855'775'808},
        {"the longest period", kSecond, std::numeric_limits<int>::max(), 842'212'540'000'000},
        {"a period of zero", kSecond + 3, 0, 0},
        {"a negative period", kSecond + 3, -250, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DelayToNextTickNs(row.wallNs, row.intervalMs), row.delayNs) << row.what;
    }
}

TEST(TickAlignment, EveryStartingPointLandsJustAfterTheFollowingBoundary) {
    for (const int interval : {250, 1000}) {
        const std::int64_t intervalNs = interval * kMs;
        // Steps of a prime number of nanoseconds reach every part of the millisecond.
        for (std::int64_t wall = kSecond - 1000 * kMs; wall <= kSecond + 1000 * kMs;
             wall += 99'991) {
            const std::int64_t boundary = wall + DelayToNextTickNs(wall, interval) - kTickSlackNs;
            ASSERT_EQ(boundary % intervalNs, 0) << wall << " every " << interval;
            ASSERT_GT(boundary, wall) << wall << " every " << interval;
            ASSERT_LE(boundary - wall, intervalNs) << wall << " every " << interval;
        }
    }
}

TEST(TickAlignment, OnlyTheBuildChoosesFreeRunningTicks) {
#ifdef BRINDLE_FREE_RUNNING_TICKS
    EXPECT_EQ(TickSettings{}.alignment, TickAlignment::FreeRunning);
#else
    EXPECT_EQ(TickSettings{}.alignment, TickAlignment::WallClock);
#endif
}

}  // namespace
}  // namespace brindle
