#include "countdown_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

DateTime Today(int hour, int minute, int second) {
    return MakeDateTime(2024, 3, 15, hour, minute, second);
}
// The reference lies on another date on purpose: only its time of day counts.
DateTime Reference(int hour, int minute, int second) {
    return MakeDateTime(2003, 11, 20, hour, minute, second);
}
std::string Display(int seconds) {
    return std::string{char('0' + seconds / 600 % 6), char('0' + seconds / 60 % 10), ':',
                       char('0' + seconds % 60 / 10), char('0' + seconds % 10)};
}

TEST(Arithmetic, SecondsAreRoundedAndOnlyAUsableIntervalAndDateGiveAPeriod) {
    struct Row {
        std::int16_t interval;
        DateTime reference, now;
        std::optional<std::int32_t> remaining;
        const char* display;
    };
    const double second = 1 / 86400.0;
    const std::vector<Row> rows = {
        // Whole seconds are counted second by second in the case below; now and the reference
        // are taken to the nearest whole second.
        {15, Reference(9, 0, 0), Today(10, 7, 30), 450, "07:30"},
        {15, Reference(9, 0, 0), DateTime{Today(10, 7, 30).days + 0.4 * second}, 450, "07:30"},
        {15, Reference(9, 0, 0), DateTime{Today(10, 7, 30).days + 0.6 * second}, 449, "07:29"},
        {15, DateTime{Reference(9, 0, 0).days + 0.6 * second}, Today(10, 7, 30), 451, "07:31"},
        // The first usable second; the last is counted below.
        {15, Reference(0, 0, 0), MakeDateTime(100, 1, 1, 0, 0, 0), 900, "15:00"},
        // No period: no interval, one too large for 16 bits, or a date no calendar shows.
        {0, Reference(0, 0, 0), Today(10, 0, 0), std::nullopt, ""},
        {-15, Reference(0, 0, 0), Today(10, 0, 0), std::nullopt, ""},
        {547, Reference(0, 0, 0), Today(10, 0, 0), std::nullopt, ""},
        {15, Reference(0, 0, 0), MakeDateTime(10000, 1, 1, 0, 0, 0), std::nullopt, ""},
        {15, Reference(0, 0, 0),
         DateTime{std::nextafter(MakeDateTime(100, 1, 1, 0, 0, 0).days, -1e9)}, std::nullopt, ""},
        {15, DateTime{std::numeric_limits<double>::quiet_NaN()}, Today(10, 0, 0), std::nullopt, ""},
        {15, Reference(0, 0, 0), DateTime{1e300}, std::nullopt, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.interval) + " min at " + std::to_string(row.now.days));
        const auto remaining = RemainingSeconds(row.now, row.reference, row.interval);
        ASSERT_EQ(remaining, row.remaining);
        if (!remaining) {
            continue;
        }
        EXPECT_EQ(FormatRemaining(*remaining), row.display);
    }
}

TEST(Arithmetic, EverySecondOfADayCountsDownExactlyAtBothEndsOfTheCalendar) {
    // Floating-point error grows with the size of the day number; these days are the farthest
    // from the epoch the countdown can meet.
    for (const int year : {100, 2026, 9999}) {
        for (const std::int16_t interval : {1, 7, 546}) {
            const std::int32_t period = interval * 60;
            const std::int32_t reference = 12 * 3600 + 34 * 60 + 56;
            for (std::int32_t s = 0; s < 86400; ++s) {
                const DateTime now = MakeDateTime(year, 12, 31, s / 3600, s / 60 % 60, s % 60);
                const std::int32_t expected = period - ((s - reference) % period + period) % period;
                const auto remaining = RemainingSeconds(now, Reference(12, 34, 56), interval);
                ASSERT_EQ(remaining, expected) << year << " " << interval << " min, second " << s;
                ASSERT_EQ(SecondsOfDay(now), s);
                ASSERT_EQ(FormatRemaining(*remaining), Display(expected)) << s;
            }
        }
    }
}

}  // namespace
}  // namespace brindle
