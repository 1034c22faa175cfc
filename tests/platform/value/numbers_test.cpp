#include "value/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace brindle {
namespace {

struct NumericRow {
    std::string text;
    double expected;
};

void ExpectNumericValues(const std::vector<NumericRow>& rows) {
    for (const NumericRow& row : rows) {
        SCOPED_TRACE("text \"" + row.text.substr(0, 40) + "\"");
        const double value = NumericValue(row.text);
        EXPECT_TRUE(std::isfinite(value));
        EXPECT_DOUBLE_EQ(value, row.expected);
    }
}

TEST(NumericValue, ReadsPlainSignedAndDecimalNumbers) {
    ExpectNumericValues({
        {"20", 20},
        {"07", 7},
        {"-5", -5},
        {"+5", 5},
        {"7.5", 7.5},
        {".5", 0.5},
        {"5.", 5},
        {"-.5", -0.5},
        {"0", 0},
        {"00000", 0},
        {"65535", 65535},
        {"1.7976931348623157e308", DBL_MAX},
    });
}

TEST(NumericValue, SkipsLeadingSpacesAndTabsOnly) {
    // Only spaces and tabs count as blanks; a line break or other control character ends the
    // search for a number.
    ExpectNumericValues({
        {" 5", 5},
        {"\t5", 5},
        {" \t 5", 5},
        {"   -7.5", -7.5},
        {"5 ", 5},
        {"\n5", 0},
        {"\r5", 0},
        {"\v5", 0},
        {"- 5", 0},
    });
}

TEST(NumericValue, TextWithoutALeadingNumberIsZero) {
    ExpectNumericValues({
        {"", 0},
        {"Time Frames", 0},
        {"+.e5", 0},
        {"-", 0},
        {"+", 0},
        {".", 0},
        {"e5", 0},
        {"x20", 0},
        {"--5", 0},
        {"+-5", 0},
        {"inf", 0},
        {"nan", 0},
        {"   ", 0},
        {".e1", 0},
    });
}

TEST(NumericValue, TextAfterTheNumberIsIgnored) {
    // A decimal comma is not a decimal point; reading stops at it whatever the locale.
    ExpectNumericValues({
        {"20abc", 20},
        {"1.5.3", 1.5},
        {"1,5", 1},
        {"12 34", 12},
        {"0x10", 0},
        {"3-4", 3},
        {"9:00", 9},
        {"20\n", 20},
    });
}

TEST(NumericValue, ExponentCountsOnlyWhenDigitsFollowIt) {
    ExpectNumericValues({
        {"1e3", 1000},
        {"1E3", 1000},
        {"1e+3", 1000},
        {"1e-3", 0.001},
        {"2.5e2", 250},
        {".5e1", 5},
        {"5.e1", 50},
        {"1e03", 1000},
        {"1e", 1},
        {"1e+", 1},
        {"1e-", 1},
        {"1ex", 1},
        {"1e+-3", 1},
        {"1e 3", 1},
        {"-2e2x", -200},
    });
}

TEST(NumericValue, MagnitudesBeyondADoubleClampToTheLargestFiniteValue) {
    // Too large: the largest finite double of the same sign, never infinity. Too small: zero.
    // Long digit runs that still fit are read in full, not cut short.
    const std::string nines(5000, '9');
    const std::string zeros(5000, '0');
    ExpectNumericValues({
        {nines, DBL_MAX},
        {"-" + nines, -DBL_MAX},
        {" " + nines + "abc", DBL_MAX},
        {"1e400", DBL_MAX},
        {"-1e400", -DBL_MAX},
        {"1.8e308", DBL_MAX},
        {"1e99999999999999999999999", DBL_MAX},
        {"0.0001e99999999999999999999999", DBL_MAX},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"1e-99999999999999999999999", 0},
        {"0." + zeros + "1", 0},
        {nines + "e-4990", 1e10},
        {"0." + zeros + "1e5010", 1e9},
        {zeros + "12.5", 12.5},
        {"4e-320", 4e-320},
    });
}

TEST(NumericValue, DecimalPointDoesNotDependOnTheCLocale) {
    // A toolkit may switch the C locale to the user's; text written with a decimal point must
    // still read the same.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            commaLocale = name;
            break;
        }
    }
    if (commaLocale == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const double withPoint = NumericValue("7.5");
    const double withComma = NumericValue("7,5");
    const double withExponent = NumericValue("2.5e1");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(withPoint, 7.5) << commaLocale;
    EXPECT_EQ(withComma, 7.0) << commaLocale;
    EXPECT_EQ(withExponent, 25.0) << commaLocale;
}

struct RoundRow {
    double value;
    std::optional<std::int32_t> expected;  // nullopt: OverflowError
};

template <class Round>
void ExpectRounding(const std::vector<RoundRow>& rows, Round round) {
    for (const RoundRow& row : rows) {
        SCOPED_TRACE(row.value);
        if (row.expected) {
            EXPECT_EQ(round(row.value), *row.expected);
        } else {
            EXPECT_THROW(round(row.value), OverflowError);
        }
    }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(RoundToInt16, HalvesGoToTheEvenNeighbourAndOutOfRangeOverflows) {
    ExpectRounding(
        {
            {7.5, 8},
            {8.5, 8},
            {2.5, 2},
            {3.5, 4},
            {0.5, 0},
            {1.5, 2},
            {-0.5, 0},
            {-2.5, -2},
            {-3.5, -4},
            {7.4, 7},
            {7.6, 8},
            {-7.6, -8},
            {32767.4, 32767},
            {32767.5, std::nullopt},
            {32768, std::nullopt},
            {-32768, -32768},
            {-32768.5, -32768},
            {-32768.6, std::nullopt},
            {-32769, std::nullopt},
            {kNaN, std::nullopt},
            {kInf, std::nullopt},
            {-kInf, std::nullopt},
            {DBL_MAX, std::nullopt},
        },
        [](double v) { return std::int32_t{RoundToInt16(v)}; });
}

TEST(RoundToInt32, HalvesGoToTheEvenNeighbourAndOutOfRangeOverflows) {
    ExpectRounding(
        {
            {7.5, 8},
            {8.5, 8},
            {-2.5, -2},
            {32767.5, 32768},
            {2147483646.5, 2147483646},
            {2147483647.4, 2147483647},
            {2147483647.5, std::nullopt},
            {2147483648.0, std::nullopt},
            {-2147483648.0, INT32_MIN},
            {-2147483648.5, INT32_MIN},
            {-2147483648.6, std::nullopt},
            {-2147483649.0, std::nullopt},
            {1e10, std::nullopt},
            {kNaN, std::nullopt},
            {kInf, std::nullopt},
            {-kInf, std::nullopt},
            {-DBL_MAX, std::nullopt},
        },
        [](double v) { return RoundToInt32(v); });
}

TEST(Multiply16, ProductsBeyondSixteenBitsOverflow) {
    struct Row {
        std::int16_t a, b;
        std::optional<std::int32_t> expected;
    };
    const std::vector<Row> rows = {
        {546, 60, 32760},    {547, 60, std::nullopt},
        {-546, 60, -32760},  {-547, 60, std::nullopt},
        {0, 60, 0},          {1, 60, 60},
        {-32768, 1, -32768}, {-32768, -1, std::nullopt},
        {181, 181, 32761},   {182, 181, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.a) + " x " + std::to_string(row.b));
        if (row.expected) {
            EXPECT_EQ(Multiply16(row.a, row.b), *row.expected);
        } else {
            EXPECT_THROW(Multiply16(row.a, row.b), OverflowError);
        }
    }
}

TEST(IntegerText, WritesPlainDecimalWithMinusForNegatives) {
    struct Row {
        std::int32_t value;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {0, "0"}, {-5, "-5"}, {60, "60"}, {INT32_MIN, "-2147483648"}, {INT32_MAX, "2147483647"},
        {7, "7"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IntegerText(row.value), row.expected);
        // Whatever is written reads back as the same number.
        EXPECT_EQ(WholeNumberFromText(IntegerText(row.value)), row.value);
    }
}

TEST(WholeNumberFromText, AcceptsOnlyWholeDecimalsThatFitInThirtyTwoBits) {
    struct Row {
        std::string text;
        std::optional<std::int32_t> expected;
    };
    const std::vector<Row> rows = {
        {"65535", 65535},
        {"000000", 0},
        {"0", 0},
        {"-0", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"00000000000000002147483647", INT32_MAX},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12a", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"+5", std::nullopt},
        {"1.0", std::nullopt},
        {"--1", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("text \"" + row.text + "\"");
        EXPECT_EQ(WholeNumberFromText(row.text), row.expected);
    }
}

}  // namespace
}  // namespace brindle
