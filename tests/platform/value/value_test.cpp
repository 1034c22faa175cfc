#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "clock.h"
#include "value/date_time.h"
#include "value/numbers.h"

namespace brindle {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(NumericValue, ReadsTheNumberAtTheStartOfTheTextWhateverTheCLocale) {
    // A toolkit may switch the C locale to one with a decimal comma; the rows must read the same
    // under it, so they run once in each locale that is installed.
    const std::string nines(5000, '9');
    const std::string zeros(5000, '0');
    const std::vector<std::pair<double, std::vector<std::string>>> rows = {
        {20, {"20", "20abc", "2e1", " \t 20", "020"}},
        {-5, {"-5", "   -5"}},
        {5, {"+5", "5.", ".5e1"}},
        {-0.5, {"-.5"}},
        {1.5, {"1.5.3"}},
        {1, {"1,5", "1e", "1e+", "1ex", "1e 3"}},
        {9, {"9:00"}},
        {0.001, {"1e-3"}},
        {-200, {"-2e2x"}},
        {0, {"", "Time Frames", "+.e5", "-", ".", "e5", "--5", "inf", "nan", "0x10", "\n5", "- 5"}},
        // Beyond a double: the largest finite value of the sign, or zero; long runs read in full.
        {DBL_MAX, {nines, "1e400", "1e99999999999999999999999", "0.0001e99999999999999999999"}},
        {-DBL_MAX, {"-1e400"}},
        {0,
         {"1e-400", "0." + zeros + "1", "-0." + zeros + "1", zeros + "1e-400",
          "0." + zeros + "1e4600", nines + "e-5400"}},
        {1e10, {nines + "e-4990"}},
        {1e9, {"0." + zeros + "1e5010"}},
        {4e-320, {"4e-320"}},
    };
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    int localesRead = 0;
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, locale) == nullptr) {
            continue;
        }
        ++localesRead;
        for (const auto& [expected, texts] : rows) {
            for (const std::string& text : texts) {
                EXPECT_EQ(NumericValue(text), expected) << locale << " \"" << text.substr(0, 30);
            }
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    // A view into a longer text reads only its own characters.
    EXPECT_EQ(NumericValue(std::string_view("12.5", 2)), 12);
    EXPECT_EQ(NumericValue(std::string_view("1234", 2)), 12);
    EXPECT_EQ(NumericValue(std::string_view("1.55", 3)), 1.5);
    EXPECT_EQ(NumericValue(std::string_view("7e5", 2)), 7);
    if (localesRead == 1) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndOutOfRangeOverflows) {
    const std::vector<std::pair<double, int>> toInt16 = {
        {7.5, 8}, {8.5, 8},   {0.5, 0},         {-2.5, -2},        {-3.5, -4},
        {7.4, 7}, {-7.6, -8}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, rounded] : toInt16) {
        EXPECT_EQ(RoundToInt16(value), rounded) << value;
        EXPECT_EQ(RoundToInt32(value), rounded) << value;
    }
    EXPECT_EQ(RoundToInt32(2147483647.4), INT32_MAX);
    EXPECT_EQ(RoundToInt32(-2147483648.5), INT32_MIN);
    for (double value : {32767.5, -32768.6, kNaN, kInf, -kInf}) {
        EXPECT_THROW(RoundToInt16(value), OverflowError) << value;
    }
    for (double value : {2147483647.5, -2147483648.6, kNaN, -kInf}) {
        EXPECT_THROW(RoundToInt32(value), OverflowError) << value;
    }
    EXPECT_EQ(Multiply16(546, 60), 32760);
    EXPECT_EQ(Multiply16(-32768, 1), -32768);
    EXPECT_THROW(Multiply16(547, 60), OverflowError);
    EXPECT_THROW(Multiply16(-547, 60), OverflowError);
    EXPECT_THROW(Multiply16(-32768, -1), OverflowError);
}

TEST(WholeNumbers, TextsRoundTripOnlyAsPlainDecimalsThatFitInThirtyTwoBits) {
    EXPECT_EQ(IntegerText(-5), "-5");
    EXPECT_EQ(IntegerText(INT32_MIN), "-2147483648");
    EXPECT_EQ(WholeNumberFromText("007"), 7);
    EXPECT_EQ(WholeNumberFromText("-0"), 0);
    EXPECT_EQ(WholeNumberFromText("00000000000000002147483647"), INT32_MAX);
    for (const char* text :
         {"", "-", "12a", " 1", "1 ", "+5", "1.0", "2147483648", "-2147483649"}) {
        EXPECT_EQ(WholeNumberFromText(text), std::nullopt) << '"' << text << '"';
    }
}

struct Civil {
    int year, month, day, hour, minute, second;
    bool operator==(const Civil&) const = default;
};
DateTime Make(const Civil& c) {
    return MakeDateTime(c.year, c.month, c.day, c.hour, c.minute, c.second);
}
Civil CivilOf(DateTime value) {
    const CivilDateTime c = ToCivil(value);
    return {c.year, c.month, c.day, c.hour, c.minute, c.second};
}

TEST(DateTime, DayNumbersFollowTheCalendarOnBothSidesOfTheEpoch) {
    // Day numbers count from 30 December 1899 and stay linear before it: -0.25 is a quarter day
    // before the epoch. 1900 has no 29 February; 2000 has one.
    const std::vector<std::pair<Civil, double>> days = {
        {{1899, 12, 30, 0, 0, 0}, 0},         {{1900, 3, 1, 0, 0, 0}, 61},
        {{2000, 3, 1, 0, 0, 0}, 36586},       {{2003, 11, 20, 0, 0, 0}, 37945},
        {{100, 1, 1, 0, 0, 0}, -657434},      {{9999, 12, 31, 0, 0, 0}, 2958465},
        {{1899, 12, 29, 18, 0, 0}, -0.25},    {{1899, 12, 28, 12, 0, 0}, -1.5},
        {{1601, 1, 1, 18, 0, 0}, -109204.25},
    };
    for (const auto& [civil, number] : days) {
        EXPECT_DOUBLE_EQ(Make(civil).days, number);
        EXPECT_EQ(CivilOf(DateTime{number}), civil) << number;
    }
    // Values no calendar holds are clamped instead of faulting.
    EXPECT_EQ(CivilOf(DateTime{kNaN}), (Civil{1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(CivilOf(DateTime{kInf}), CivilOf(DateTime{1e300}));
    EXPECT_GT(CivilOf(DateTime{kInf}).year, 30'000);
}

TEST(DateTime, PatternsShowTheirPartAndAMinuteWithRoundingErrorStaysOneMinute) {
    const DateTime afternoon = MakeDateTime(2024, 5, 6, 14, 5, 9);
    const double minute = 60 / 86400.0;
    const std::vector<std::tuple<DateTime, DatePattern, const char*>> rows = {
        {afternoon, DatePattern::Hour, "14"},
        {afternoon, DatePattern::Minute, "05"},
        {afternoon, DatePattern::Second, "09"},
        {afternoon, DatePattern::MinuteSecond, "05:09"},
        {DateTime{1e300}, DatePattern::Hour, "00"},
        // A difference meant as one minute, a little off either way, is still "01:00".
        {DateTime{minute + 1e-12}, DatePattern::MinuteSecond, "01:00"},
        {DateTime{minute - 0.49 / 86400}, DatePattern::MinuteSecond, "01:00"},
        {DateTime{std::nextafter(minute, 0.0)}, DatePattern::MinuteSecond, "01:00"},
    };
    for (const auto& [value, pattern, expected] : rows) {
        EXPECT_EQ(FormatDateTime(value, pattern), expected) << value.days;
    }
}

TEST(SystemClock, ReadsTodaysLocalDate) {
    // Local time is at most 14 hours either side of UTC.
    const auto utc = std::chrono::system_clock::now().time_since_epoch();
    const double utcDays = std::chrono::duration<double>(utc).count() / 86400.0 + 25569.0;
    EXPECT_NEAR(SystemClock().Now().days, utcDays, 14.0 / 24);
}

}  // namespace
}  // namespace brindle
