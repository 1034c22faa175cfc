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

// Every text reads as the expected value, and that value is finite.
void ExpectRead(double expected, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        const double value = NumericValue(text);
        EXPECT_TRUE(std::isfinite(value)) << "text \"" << text.substr(0, 40) << "\"";
        EXPECT_DOUBLE_EQ(value, expected) << "text \"" << text.substr(0, 40) << "\"";
    }
}

TEST(NumericValue, ReadsTheNumberAtTheStartOfTheText) {
    // Plain, signed and decimal numbers; only spaces and tabs count as leading blanks.
    ExpectRead(20, {"20", "20abc", "20\n", "2e1", " \t 20"});
    ExpectRead(7, {"07", "\t7", "7 "});
    ExpectRead(-5, {"-5", "   -5"});
    ExpectRead(5, {"+5", "5.", ".5e1"});
    ExpectRead(7.5, {"7.5"});
    ExpectRead(0.5, {".5"});
    ExpectRead(-0.5, {"-.5"});
    ExpectRead(65535, {"65535"});
    // Text after the number is ignored; a decimal comma is not a decimal point.
    ExpectRead(1.5, {"1.5.3"});
    ExpectRead(1, {"1,5", "1e", "1e+", "1e-", "1ex", "1e+-3", "1e 3"});
    ExpectRead(12, {"12 34"});
    ExpectRead(3, {"3-4"});
    ExpectRead(9, {"9:00"});
    // An exponent counts only when digits follow it.
    ExpectRead(1000, {"1e3", "1E3", "1e+3", "1e03"});
    ExpectRead(0.001, {"1e-3"});
    ExpectRead(250, {"2.5e2"});
    ExpectRead(50, {"5.e1"});
    ExpectRead(-200, {"-2e2x"});
    // Without a leading number, after a line break or other control character, the text is 0.
    ExpectRead(
        0, {"",    "Time Frames", "+.e5", "-",    "+", ".",     "e5",  "x20", "--5", "+-5", "inf",
            "nan", "   ",         ".e1",  "0x10", "0", "00000", "\n5", "\r5", "\v5", "- 5"});
}

TEST(NumericValue, MagnitudesBeyondADoubleClampToTheLargestFiniteValue) {
    // Too large: the largest finite double of the same sign, never infinity. Too small: zero.
    // Long digit runs that still fit are read in full, not cut short.
    const std::string nines(5000, '9');
    const std::string zeros(5000, '0');
    ExpectRead(DBL_MAX, {nines, " " + nines + "abc", "1e400", "1.8e308", "1.7976931348623157e308",
                         "1e99999999999999999999999", "0.0001e99999999999999999999999"});
    ExpectRead(-DBL_MAX, {"-" + nines, "-1e400"});
    ExpectRead(0, {"1e-400", "-1e-400", "1e-99999999999999999999999", "0." + zeros + "1"});
    ExpectRead(1e10, {nines + "e-4990"});
    ExpectRead(1e9, {"0." + zeros + "1e5010"});
    ExpectRead(12.5, {zeros + "12.5"});
    ExpectRead(4e-320, {"4e-320"});
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

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Pairs of a value and its rounded result, then values whose rounding overflows.
template <class Round>
void ExpectRounding(Round round, const std::vector<double>& valueThenResult,
                    const std::vector<double>& overflowing) {
    for (std::size_t i = 0; i + 1 < valueThenResult.size(); i += 2) {
        EXPECT_EQ(round(valueThenResult[i]), valueThenResult[i + 1]) << valueThenResult[i];
    }
    for (double value : overflowing) {
        EXPECT_THROW(round(value), OverflowError) << value;
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbourAndOutOfRangeOverflows) {
    ExpectRounding([](double v) { return RoundToInt16(v); },
                   {7.5, 8, 8.5,  8,  2.5,     2,     3.5,    4,      0.5,      0,
                    1.5, 2, -0.5, 0,  -2.5,    -2,    -3.5,   -4,     7.4,      7,
                    7.6, 8, -7.6, -8, 32767.4, 32767, -32768, -32768, -32768.5, -32768},
                   {32767.5, 32768, -32768.6, -32769, kNaN, kInf, -kInf, DBL_MAX});
    ExpectRounding([](double v) { return RoundToInt32(v); },
                   {7.5, 8, 8.5, 8, -2.5, -2, 32767.5, 32768, 2147483646.5, 2147483646,
                    2147483647.4, 2147483647, -2147483648.0, INT32_MIN, -2147483648.5, INT32_MIN},
                   {2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 1e10, kNaN, kInf,
                    -kInf, -DBL_MAX});
}

TEST(Multiply16, ProductsBeyondSixteenBitsOverflow) {
    EXPECT_EQ(Multiply16(546, 60), 32760);
    EXPECT_EQ(Multiply16(-546, 60), -32760);
    EXPECT_EQ(Multiply16(0, 60), 0);
    EXPECT_EQ(Multiply16(-32768, 1), -32768);
    EXPECT_EQ(Multiply16(181, 181), 32761);
    for (auto [a, b] :
         {std::pair<std::int16_t, std::int16_t>{547, 60}, {-547, 60}, {-32768, -1}, {182, 181}}) {
        EXPECT_THROW(Multiply16(a, b), OverflowError) << a << " x " << b;
    }
}

TEST(IntegerText, WritesPlainDecimalWithMinusForNegatives) {
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-5), "-5");
    EXPECT_EQ(IntegerText(60), "60");
    EXPECT_EQ(IntegerText(INT32_MIN), "-2147483648");
    EXPECT_EQ(IntegerText(INT32_MAX), "2147483647");
}

TEST(WholeNumberFromText, AcceptsOnlyWholeDecimalsThatFitInThirtyTwoBits) {
    EXPECT_EQ(WholeNumberFromText("65535"), 65535);
    EXPECT_EQ(WholeNumberFromText("007"), 7);
    EXPECT_EQ(WholeNumberFromText("00000000000000002147483647"), INT32_MAX);
    for (const char* zero : {"000000", "0", "-0"}) {
        EXPECT_EQ(WholeNumberFromText(zero), 0) << zero;
    }
    for (const char* text : {"", "-", "12a", " 1", "1 ", "+5", "1.0", "--1", "2147483648",
                             "-2147483649", "99999999999999999999"}) {
        EXPECT_EQ(WholeNumberFromText(text), std::nullopt) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace brindle
