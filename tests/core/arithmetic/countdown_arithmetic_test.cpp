#include "countdown_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "value/date_time.h"
#include "warning_schedule.h"

namespace brindle {
namespace {

struct Clock {
    int hour, minute, second;
};

DateTime On(int year, int month, int day, Clock time) {
    return MakeDateTime(year, month, day, time.hour, time.minute, time.second);
}

// Every test day is an ordinary one unless it says otherwise; the reference is kept on another
// date on purpose, since only its time of day may count.
DateTime Today(Clock time) {
    return On(2024, 3, 15, time);
}
DateTime ReferenceAt(Clock time) {
    return On(2003, 11, 20, time);
}

DateTime TodayAtSecond(int secondOfDay) {
    return Today({secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60});
}

TEST(ArithmeticWorkedExamples, RemainingDisplayAndAlertMatchTheExamples) {
    struct Row {
        std::int16_t interval;
        Clock reference;
        DateTime now;
        std::int32_t remaining;
        const char* display;
        const char* lead;
        bool alert;
    };
    const std::vector<Row> rows = {
        {15, {9, 0, 0}, Today({10, 7, 30}), 450, "07:30", "20", false},
        {15, {9, 0, 0}, Today({8, 53, 30}), 390, "06:30", "20", false},
        {15, {9, 0, 0}, Today({10, 14, 40}), 20, "00:20", "20", true},
        {15, {9, 0, 0}, Today({10, 15, 0}), 900, "15:00", "20", false},
        {15, {9, 0, 0}, Today({9, 0, 1}), 899, "14:59", "20", false},
        {45, {9, 0, 0}, Today({2, 10, 0}), 300, "05:00", "30", false},
        {60, {0, 0, 0}, Today({10, 0, 0}), 3600, "00:00", "20", false},
        {60, {0, 0, 0}, Today({10, 0, 1}), 3599, "59:59", "20", false},
        {1, {0, 0, 0}, Today({12, 34, 40}), 20, "00:20", "20", true},
        {7, {9, 0, 0}, Today({23, 59, 59}), 181, "03:01", "20", false},
        {7, {9, 0, 0}, On(2024, 3, 16, {0, 0, 0}), 60, "01:00", "20", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("interval ") + std::to_string(row.interval) + ", display " +
                     row.display);
        const std::optional<std::int32_t> remaining =
            RemainingSeconds(row.now, ReferenceAt(row.reference), row.interval);
        ASSERT_TRUE(remaining.has_value());
        EXPECT_EQ(*remaining, row.remaining);
        EXPECT_EQ(FormatRemaining(*remaining), row.display);
        // The alert column as the countdown's tick decides it, the tick a second earlier seen.
        const DateTime before{row.now.days - 1.0 / 86'400.0};
        const DateTime reference = ReferenceAt(row.reference);
        WarningSchedule warnings;
        warnings.IsDue(before, *RemainingSeconds(before, reference, row.interval), row.lead,
                       AlertState::Idle);
        EXPECT_EQ(warnings.IsDue(row.now, *remaining, row.lead, AlertState::Idle), row.alert);
    }
}

TEST(ArithmeticPeriods, IntervalsWithoutAValidPeriodGiveNothing) {
    struct Row {
        std::int16_t interval;
        std::optional<std::int32_t> expected;
    };
    // At 10:00:00 with the reference at midnight, 36,000 s into the day.
    const std::vector<Row> rows = {
        {546, 29520},         {545, 29400},           {1, 60},
        {547, std::nullopt},  {600, std::nullopt},    {32767, std::nullopt},
        {0, std::nullopt},    {-1, std::nullopt},     {-15, std::nullopt},
        {-546, std::nullopt}, {-32768, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.interval);
        EXPECT_EQ(RemainingSeconds(Today({10, 0, 0}), ReferenceAt({0, 0, 0}), row.interval),
                  row.expected);
    }
}

TEST(ArithmeticPeriods, GridReAnchorsAtMidnightWhenTheIntervalDoesNotDivideADay) {
    struct Row {
        DateTime now;
        std::int32_t remaining;
    };
    // 7 minutes do not divide 1,440, so the last period of a day is cut short at midnight and the
    // next day's periods line up with the reference's time of day again.
    const std::vector<Row> rows = {
        {Today({23, 56, 0}), 420},         {Today({23, 59, 59}), 181},
        {On(2024, 3, 16, {0, 0, 0}), 60},  {On(2024, 3, 16, {0, 0, 59}), 1},
        {On(2024, 3, 16, {0, 1, 0}), 420}, {On(2024, 3, 16, {9, 0, 0}), 420},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.now.days);
        EXPECT_EQ(RemainingSeconds(row.now, ReferenceAt({9, 0, 0}), 7), row.remaining);
    }
    // The largest interval's period of 32,760 s is cut short at 09:06 too.
    EXPECT_EQ(RemainingSeconds(Today({9, 5, 59}), ReferenceAt({0, 0, 0}), 546), 1);
    EXPECT_EQ(RemainingSeconds(Today({9, 6, 0}), ReferenceAt({0, 0, 0}), 546), 32760);
}

// One interval per test, so that the whole-day sweeps can run side by side.
class ArithmeticEverySecond : public ::testing::TestWithParam<std::int16_t> {};

TEST_P(ArithmeticEverySecond, RemainingStaysWithinThePeriodAndCountsDownOneSecondPerSecond) {
    const std::int16_t interval = GetParam();
    const std::int32_t period = interval * 60;
    const std::vector<Clock> references = {{0, 0, 0}, {9, 0, 0}, {23, 59, 59}, {12, 34, 56}};
    for (const Clock& reference : references) {
        std::optional<std::int32_t> previous;
        for (int second = 0; second < 86400; ++second) {
            const std::optional<std::int32_t> remaining =
                RemainingSeconds(TodayAtSecond(second), ReferenceAt(reference), interval);
            ASSERT_TRUE(remaining.has_value());
            ASSERT_GE(*remaining, 1) << "second " << second;
            ASSERT_LE(*remaining, period) << "second " << second;
            // One second later there is one second less, or a new period has begun.
            if (previous) {
                ASSERT_EQ(*remaining, *previous == 1 ? period : *previous - 1)
                    << "second " << second;
            }
            previous = remaining;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Intervals, ArithmeticEverySecond,
                         ::testing::Values<std::int16_t>(1, 7, 15, 45, 60, 546),
                         [](const ::testing::TestParamInfo<std::int16_t>& info) {
                             return std::to_string(info.param) + "Minutes";
                         });

TEST(ArithmeticPeriods, NowIsTakenToTheNearestWholeSecond) {
    const double second = 1 / 86400.0;
    const DateTime now = Today({10, 7, 30});
    const DateTime reference = ReferenceAt({9, 0, 0});
    EXPECT_EQ(RemainingSeconds(DateTime{now.days + 0.4 * second}, reference, 15), 450);
    EXPECT_EQ(RemainingSeconds(DateTime{now.days - 0.4 * second}, reference, 15), 450);
    EXPECT_EQ(RemainingSeconds(DateTime{now.days + 0.6 * second}, reference, 15), 449);
    EXPECT_EQ(RemainingSeconds(now, DateTime{reference.days + 0.6 * second}, 15), 451);
}

TEST(ArithmeticPeriods, DateTimesOutsideTheUsableRangeGiveNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double firstDay = On(100, 1, 1, {0, 0, 0}).days;
    const double pastLastDay = On(10000, 1, 1, {0, 0, 0}).days;
    const DateTime valid = Today({10, 0, 0});
    const std::vector<double> unusable = {nan,
                                          inf,
                                          -inf,
                                          std::numeric_limits<double>::max(),
                                          -std::numeric_limits<double>::max(),
                                          1e300,
                                          std::nextafter(firstDay, -inf),
                                          pastLastDay,
                                          1e12};
    for (double days : unusable) {
        SCOPED_TRACE(days);
        EXPECT_EQ(RemainingSeconds(DateTime{days}, valid, 15), std::nullopt);
        EXPECT_EQ(RemainingSeconds(valid, DateTime{days}, 15), std::nullopt);
    }
    // The ends of the range themselves are usable.
    EXPECT_EQ(RemainingSeconds(DateTime{firstDay}, ReferenceAt({0, 0, 0}), 15), 900);
    EXPECT_EQ(RemainingSeconds(On(9999, 12, 31, {23, 59, 59}), ReferenceAt({0, 0, 0}), 15), 1);
    EXPECT_EQ(RemainingSeconds(valid, DateTime{firstDay}, 15), 900);
}

TEST(ArithmeticSecondsOfDay, CountsSecondsSinceMidnightOfTheNearestWholeSecond) {
    struct Row {
        DateTime value;
        std::int32_t expected;
    };
    const std::vector<Row> rows = {
        {Today({0, 0, 0}), 0},      {Today({23, 59, 59}), 86399},
        {Today({12, 0, 0}), 43200}, {On(1601, 1, 1, {6, 30, 15}), 23415},
        {DateTime{-0.25}, 64800},   {DateTime{Today({23, 59, 59}).days + 0.6 / 86400}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value.days);
        EXPECT_EQ(SecondsOfDay(row.value), row.expected);
    }
}

TEST(ArithmeticFormatRemaining, ShowsMinutesAndSecondsWithWholeHoursDropped) {
    struct Row {
        std::int32_t seconds;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {0, "00:00"},    {1, "00:01"},     {59, "00:59"},    {60, "01:00"},
        {450, "07:30"},  {3599, "59:59"},  {3600, "00:00"},  {3700, "01:40"},
        {7199, "59:59"}, {32760, "06:00"}, {32759, "05:59"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(FormatRemaining(row.seconds), row.expected);
    }
}

}  // namespace
}  // namespace brindle
