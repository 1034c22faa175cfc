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

TEST(TickAlignment, EachTickIsAimedOneMillisecondAfterTheNextBoundary) {
    struct Row {
        const char* what;
        std::int64_t wallNs;
        int intervalMs;
        std::int64_t delayNs;
    };
    const std::vector<Row> rows = {
        {"on a boundary: the next one", kSecond, 250, 251 * kMs},
        {"1 ns before a boundary", kSecond - 1, 250, kMs + 1},
        {"mid-period", kSecond + 125 * kMs + 300'000, 250, 125 * kMs + 700'000},
        {"a quarter is no whole second", kSecond + 250 * kMs, 1000, 751 * kMs},
        {"1 ns before 1970", -1, 250, kMs + 1},
        {"1 ms into a second before 1970", -999 * kMs, 1000, 1000 * kMs},
        {"the latest time", std::numeric_limits<std::int64_t>::max(), 250, 146'224'193},
        {"the earliest time", std::numeric_limits<std::int64_t>::min(), 1000, 855'775'808},
        {"a period of zero", kSecond + 3, 0, 0},
        {"a negative period", kSecond + 3, -250, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DelayToNextTickNs(row.wallNs, row.intervalMs), row.delayNs) << row.what;
    }
}

}  // namespace
}  // namespace brindle
