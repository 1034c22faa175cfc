#include "value/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace brindle {
namespace {

struct Civil {
    int year, month, day, hour, minute, second;
    bool operator==(const Civil&) const = default;
};

void PrintTo(const Civil& c, std::ostream* out) {
    *out << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
         << c.second;
}

DateTime Make(const Civil& c) {
    return MakeDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second);
}

Civil CivilOf(DateTime value) {
    const CivilDateTime c = ToCivil(value);
    return {c.year, c.month, c.day, c.hour, c.minute, c.second};
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

TEST(DateTimeCalendar, KnownDatesHaveTheirDayNumbers) {
    struct Row {
        Civil date;
        double days;
    };
    // Negative day counts stay linear: -0.25 is a quarter day before the epoch, not 06:00 of the
    // day before.
    const std::vector<Row> rows = {
        {{1899, 12, 30, 0, 0, 0}, 0},       {{1899, 12, 31, 0, 0, 0}, 1},
        {{1899, 12, 29, 0, 0, 0}, -1},      {{1900, 1, 1, 0, 0, 0}, 2},
        {{1900, 2, 28, 0, 0, 0}, 60},       {{1900, 3, 1, 0, 0, 0}, 61},
        {{2000, 2, 29, 0, 0, 0}, 36585},    {{2000, 3, 1, 0, 0, 0}, 36586},
        {{2003, 11, 20, 0, 0, 0}, 37945},   {{1752, 9, 14, 0, 0, 0}, -53797},
        {{1601, 1, 1, 0, 0, 0}, -109205},   {{100, 1, 1, 0, 0, 0}, -657434},
        {{9999, 12, 31, 0, 0, 0}, 2958465}, {{1899, 12, 30, 12, 0, 0}, 0.5},
        {{1899, 12, 30, 6, 0, 0}, 0.25},    {{1899, 12, 31, 18, 0, 0}, 1.75},
        {{1899, 12, 29, 18, 0, 0}, -0.25},  {{1899, 12, 29, 12, 0, 0}, -0.5},
        {{1899, 12, 28, 12, 0, 0}, -1.5},   {{1601, 1, 1, 18, 0, 0}, -109205 + 0.75},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(Make(row.date).days, row.days);
        EXPECT_EQ(CivilOf(DateTime{row.days}), row.date) << row.days;
    }
}

TEST(DateTimeCalendar, EveryDayFrom1601To9999RoundTripsAndFollowsTheLeapYearRule) {
    const int first = static_cast<int>(MakeDateTime(1601, 1, 1, 0, 0, 0).days);
    const int last = static_cast<int>(MakeDateTime(9999, 12, 31, 0, 0, 0).days);
    Civil expected{1601, 1, 1, 0, 0, 0};
    for (int n = first; n <= last; ++n) {
        const Civil civil = CivilOf(DateTime{static_cast<double>(n)});
        ASSERT_EQ(civil, expected) << "day " << n;
        ASSERT_EQ(MakeDateTime(civil.year, civil.month, civil.day, 0, 0, 0).days, n);
        if (++expected.day > DaysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
    EXPECT_EQ(expected.year, 10000);
}

TEST(DateTimeCalendar, NonFiniteAndEnormousValuesAreClampedInsteadOfFaulting) {
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(CivilOf(DateTime{kNaN}), (Civil{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(FormatDateTime(DateTime{kNaN}, DatePattern::MinuteSecond), "00:00");

    // Some 30,000 years either side of the epoch, a real date of the calendar.
    const Civil top = CivilOf(DateTime{11e6});
    const Civil bottom = CivilOf(DateTime{-11e6});
    EXPECT_GT(top.year, 30'000);
    EXPECT_LT(bottom.year, -28'000);
    EXPECT_TRUE(top.month >= 1 && top.month <= 12 && top.day >= 1 && top.day <= 31);
    EXPECT_TRUE(bottom.month >= 1 && bottom.month <= 12 && bottom.day >= 1 && bottom.day <= 31);
    for (double huge : {kInf, 1e300, std::numeric_limits<double>::max(), 11e6 + 0.5, 1e9}) {
        EXPECT_EQ(CivilOf(DateTime{huge}), top) << huge;
        EXPECT_EQ(CivilOf(DateTime{-huge}), bottom) << huge;
        EXPECT_EQ(FormatDateTime(DateTime{huge}, DatePattern::Hour).size(), 2u);
    }
}

TEST(DateTimeArithmetic, DateAddMovesAcrossMidnightAndMonthEnds) {
    struct Row {
        DateUnit unit;
        double count;
        Civil from;
        Civil expected;
    };
    // Across midnight, into a new year, back into a leap day, before 1 March of 1900 (no leap
    // day), before and across the epoch, and the largest period near the end of the range.
    const std::vector<Row> rows = {
        {DateUnit::Second, -90, {2024, 5, 6, 12, 0, 0}, {2024, 5, 6, 11, 58, 30}},
        {DateUnit::Minute, 5, {2024, 5, 6, 23, 58, 0}, {2024, 5, 7, 0, 3, 0}},
        {DateUnit::Second, 1, {1999, 12, 31, 23, 59, 59}, {2000, 1, 1, 0, 0, 0}},
        {DateUnit::Minute, -1, {2000, 3, 1, 0, 0, 30}, {2000, 2, 29, 23, 59, 30}},
        {DateUnit::Minute, -1, {1900, 3, 1, 0, 0, 30}, {1900, 2, 28, 23, 59, 30}},
        {DateUnit::Minute, 90, {1601, 1, 1, 23, 0, 0}, {1601, 1, 2, 0, 30, 0}},
        {DateUnit::Second, 1, {1899, 12, 29, 23, 59, 59}, {1899, 12, 30, 0, 0, 0}},
        {DateUnit::Minute, 546, {9999, 12, 31, 14, 0, 0}, {9999, 12, 31, 23, 6, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CivilOf(DateAdd(row.unit, row.count, Make(row.from))), row.expected);
    }
}

TEST(DateTimeFormat, PatternsShowTheirPartOfTheTimeOfDay) {
    struct Row {
        DateTime value;
        DatePattern pattern;
        const char* expected;
    };
    const DateTime afternoon = MakeDateTime(2024, 5, 6, 14, 5, 9);
    const DateTime start = MakeDateTime(2024, 5, 6, 0, 0, 0);
    const std::vector<Row> rows = {
        {afternoon, DatePattern::Hour, "14"},
        {afternoon, DatePattern::Minute, "05"},
        {afternoon, DatePattern::Second, "09"},
        {afternoon, DatePattern::MinuteSecond, "05:09"},
        {MakeDateTime(2024, 5, 6, 0, 7, 30) - start, DatePattern::MinuteSecond, "07:30"},
        {DateTime{3700 / 86400.0}, DatePattern::MinuteSecond, "01:40"},
        {DateTime{3600 / 86400.0}, DatePattern::MinuteSecond, "00:00"},
        {DateTime{0.0}, DatePattern::Hour, "00"},
        {DateTime{86399 / 86400.0}, DatePattern::Hour, "23"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(FormatDateTime(row.value, row.pattern), row.expected);
    }
}

TEST(DateTimeFormat, DifferenceStandingForAMinuteFormatsAsOneMinuteWhateverItsError) {
    const double minute = 60 / 86400.0;
    // Errors up to a few hundred units in the last place, and up to just under half a second.
    const std::vector<double> errors = {0.0,    1e-15,        -1e-15,       1e-12,
                                        -1e-12, 0.49 / 86400, -0.49 / 86400};
    for (double error : errors) {
        SCOPED_TRACE(error);
        EXPECT_EQ(FormatDateTime(DateTime{minute + error}, DatePattern::MinuteSecond), "01:00");
    }
    EXPECT_EQ(FormatDateTime(DateTime{std::nextafter(minute, 0.0)}, DatePattern::MinuteSecond),
              "01:00");
    // The same minute computed the way the countdown computes it, at several points in time.
    for (double now : {0.0, 37945.4375, -109205.0, 2958465.999988426}) {
        SCOPED_TRACE(now);
        const DateTime start{now};
        const DateTime later = DateAdd(DateUnit::Minute, 1, start);
        EXPECT_EQ(FormatDateTime(later - start, DatePattern::MinuteSecond), "01:00");
    }
}

TEST(DateTimeFormat, EveryWholeSecondOfADayFormatsBackToItsOwnTime) {
    const std::vector<Civil> days = {
        {1601, 1, 1, 0, 0, 0},   {1899, 12, 29, 0, 0, 0}, {1899, 12, 30, 0, 0, 0},
        {2003, 11, 20, 0, 0, 0}, {2000, 2, 29, 0, 0, 0},  {9999, 12, 31, 0, 0, 0},
    };
    for (const Civil& day : days) {
        SCOPED_TRACE(day.year);
        for (int s = 0; s < 86400; ++s) {
            const Civil expected{day.year, day.month, day.day, s / 3600, s / 60 % 60, s % 60};
            const DateTime value = Make(expected);
            ASSERT_EQ(FormatDateTime(value, DatePattern::Hour), TwoDigits(expected.hour)) << s;
            ASSERT_EQ(FormatDateTime(value, DatePattern::Minute), TwoDigits(expected.minute)) << s;
            ASSERT_EQ(FormatDateTime(value, DatePattern::Second), TwoDigits(expected.second)) << s;
            ASSERT_EQ(CivilOf(value), expected) << s;
        }
    }
}

// The countdown's own steps: the period boundary is the current time taken back by the phase and
// forward by the interval, and what it shows is that boundary less the current time.
std::string CountdownDisplay(DateTime now, int interval, int phase) {
    const DateTime boundary =
        DateAdd(DateUnit::Minute, interval, DateAdd(DateUnit::Second, -phase, now));
    return FormatDateTime(boundary - now, DatePattern::MinuteSecond);
}

std::string ExpectedDisplay(int remaining) {
    return TwoDigits(remaining / 60 % 60) + ":" + TwoDigits(remaining % 60);
}

TEST(DateTimeFormat, CountdownDifferencesFormatExactlyAcrossTheDateRange) {
    // Points in time from the coarse ends of the range, around the epoch and between whole
    // seconds, where a difference picks up the most floating-point error.
    const std::vector<DateTime> nows = {
        MakeDateTime(1601, 1, 1, 0, 0, 0),
        MakeDateTime(1601, 1, 1, 23, 59, 59),
        MakeDateTime(1899, 12, 29, 23, 59, 59),
        DateTime{0.0},
        MakeDateTime(2003, 11, 20, 10, 7, 30),
        MakeDateTime(2024, 2, 29, 23, 59, 59),
        MakeDateTime(9999, 12, 31, 0, 0, 1),
        MakeDateTime(9999, 12, 31, 23, 59, 59),
        DateTime{MakeDateTime(5000, 6, 15, 12, 0, 0).days + 0.4 / 86400},
    };
    constexpr int kPeriod = 546 * 60;
    for (const DateTime now : nows) {
        SCOPED_TRACE(now.days);
        for (int remaining = 1; remaining <= kPeriod; ++remaining) {
            ASSERT_EQ(CountdownDisplay(now, 546, kPeriod - remaining), ExpectedDisplay(remaining))
                << remaining;
        }
    }
}

TEST(DateTimeFormat, CountdownDifferencesFormatExactlyForEveryInterval) {
    const std::vector<DateTime> nows = {MakeDateTime(1601, 1, 1, 12, 0, 1), DateTime{0.0},
                                        MakeDateTime(9999, 12, 31, 23, 59, 59)};
    for (const DateTime now : nows) {
        for (int interval = 1; interval <= 546; ++interval) {
            const int period = interval * 60;
            for (int phase : {0, 1, 59, 60, 61, period / 2, period - 61, period - 60, period - 59,
                              period - 1}) {
                if (phase < 0 || phase >= period) {
                    continue;
                }
                ASSERT_EQ(CountdownDisplay(now, interval, phase), ExpectedDisplay(period - phase))
                    << "now " << now.days << " interval " << interval << " phase " << phase;
            }
        }
    }
}

}  // namespace
}  // namespace brindle
