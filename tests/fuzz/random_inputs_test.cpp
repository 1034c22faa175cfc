#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "command_line.h"
#include "countdown_arithmetic.h"
#include "form1.h"
#include "value/date_time.h"
#include "value/numbers.h"

namespace brindle {
namespace {

// Fixed seeds keep every run identical, so a failure here reproduces exactly. The countdown
// arithmetic costs more per call, so it gets fewer draws to stay quick under the sanitizers.
constexpr int kIterations = 200'000;
constexpr int kArithmeticIterations = 100'000;

std::string RandomText(std::mt19937_64& random) {
    // Mostly characters that mean something to the number reader, some arbitrary bytes.
    static const std::string kAlphabet = "0123456789+-.eE \t,x";
    std::string text(random() % 33, '\0');
    for (char& c : text) {
        c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                              : kAlphabet[random() % kAlphabet.size()];
    }
    return text;
}

std::string RandomDigits(std::mt19937_64& random, std::size_t most) {
    std::string digits(random() % (most + 1), '0');
    for (char& c : digits) {
        c = static_cast<char>('0' + random() % 10);
    }
    return digits;
}

TEST(FuzzRandomInputs, NumericValueOfArbitraryTextIsAlwaysFinite) {
    std::mt19937_64 random(20240315);
    for (int i = 0; i < kIterations; ++i) {
        const std::string text = RandomText(random);
        ASSERT_TRUE(std::isfinite(NumericValue(text))) << "text \"" << text << "\"";
        (void)WholeNumberFromText(text);
    }
}

TEST(FuzzRandomInputs, NumericValueOfAWellFormedNumberMatchesTheCLibrary) {
    // A number built from the reader's grammar, with blanks before and unrelated text after,
    // must read as strtod reads the number alone in the C locale, clamped to finite values.
    std::mt19937_64 random(1601);
    static const char* kPrefixes[] = {"", " ", "\t", " \t "};
    static const char* kSuffixes[] = {"", " ", "x", ",5", ":00", "e", "e+", ".", "abc"};
    for (int i = 0; i < kIterations; ++i) {
        std::string number;
        if (random() % 3 == 0) {
            number += random() % 2 ? '-' : '+';
        }
        const std::string whole = RandomDigits(random, 20);
        const bool point = random() % 2 == 0;
        const std::string fraction = point ? RandomDigits(random, 20) : "";
        if (whole.empty() && fraction.empty()) {
            continue;
        }
        number += whole + (point ? "." : "") + fraction;
        if (random() % 2 == 0) {
            number += random() % 2 ? 'e' : 'E';
            const int sign = static_cast<int>(random() % 3);
            number += sign == 0 ? "" : sign == 1 ? "+" : "-";
            number += std::to_string(random() % 1000);
        }
        const std::string text =
            std::string(kPrefixes[random() % 4]) + number + kSuffixes[random() % 9];
        double expected = std::strtod(number.c_str(), nullptr);
        if (std::isinf(expected)) {
            expected = expected > 0 ? DBL_MAX : -DBL_MAX;
        }
        ASSERT_EQ(NumericValue(text), expected) << "text \"" << text << "\"";
    }
}

double RandomDays(std::mt19937_64& random, double first, double pastLast) {
    static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      DBL_MAX,
                                      -DBL_MAX,
                                      DBL_MIN,
                                      0.0,
                                      -0.0,
                                      1e300,
                                      first,
                                      pastLast};
    switch (random() % 4) {
        case 0:
            return std::bit_cast<double>(random());
        case 1:
            return kSpecial[random() % std::size(kSpecial)];
        case 2:
            return std::uniform_real_distribution<double>(-1e12, 1e12)(random);
        default:
            return std::uniform_real_distribution<double>(first, pastLast)(random);
    }
}

// Seconds since midnight of the nearest whole second, worked out directly from the day count.
std::int64_t SecondOfDay(double days) {
    const std::int64_t seconds = std::llround(days * 86400.0);
    return ((seconds % 86400) + 86400) % 86400;
}

TEST(FuzzRandomInputs, RemainingSecondsIsNothingOrWithinThePeriodForAnyInput) {
    std::mt19937_64 random(9999);
    const double first = MakeDateTime(100, 1, 1, 0, 0, 0).days;
    const double pastLast = MakeDateTime(10000, 1, 1, 0, 0, 0).days;
    auto usable = [&](double days) { return days >= first && days < pastLast; };
    for (int i = 0; i < kArithmeticIterations; ++i) {
        const double now = RandomDays(random, first, pastLast);
        const double reference = RandomDays(random, first, pastLast);
        const auto interval =
            static_cast<std::int16_t>(random() % 2 ? random() : 1 + random() % 546);
        SCOPED_TRACE(::testing::Message()
                     << "now " << now << ", reference " << reference << ", interval " << interval);

        const std::optional<std::int32_t> remaining =
            RemainingSeconds(DateTime{now}, DateTime{reference}, interval);
        const bool valid = usable(now) && usable(reference) && interval >= 1 && interval <= 546;
        ASSERT_EQ(remaining.has_value(), valid);
        if (valid) {
            const std::int64_t period = interval * 60;
            const std::int64_t phase =
                ((SecondOfDay(now) - SecondOfDay(reference)) % period + period) % period;
            ASSERT_EQ(*remaining, period - phase);
        }
        ASSERT_EQ(FormatDateTime(DateTime{now}, DatePattern::MinuteSecond).size(), 5u);
    }
}

TEST(FuzzRandomInputs, ARandomCommandLineStartsWithListValuesOrEndsWithOneLine) {
    // Arguments glued from the pieces a command line is made of, so that near misses are common.
    static const char* kPieces[] = {"--interval", "--lead", "--reference", "--help", "-h", "-v",
                                    "--version",  "=",      "-",           "15",     "30", "60",
                                    "0",          "10:07",  "23:59:59",    "24:00",  ":",  "x",
                                    " ",          "\xff",   "\n"};
    std::mt19937_64 random(1107);
    for (int i = 0; i < kIterations / 10; ++i) {
        std::vector<std::string> arguments(random() % 5);
        for (std::string& argument : arguments) {
            for (std::size_t n = random() % 4; n > 0; --n) {
                argument += kPieces[random() % std::size(kPieces)];
            }
        }
        const CommandLine parsed = ParseCommandLine(arguments);
        if (const auto* options = std::get_if<StartOptions>(&parsed)) {
            const auto isItem = [](const std::vector<std::string>& items, const std::string& s) {
                return std::find(items.begin(), items.end(), s) != items.end();
            };
            ASSERT_TRUE(!options->interval || isItem(Form1::IntervalItems(), *options->interval));
            ASSERT_TRUE(!options->lead || isItem(Form1::LeadItems(), *options->lead));
            ASSERT_TRUE(!options->reference ||
                        (options->reference->hour < 24 && options->reference->minute < 60 &&
                         options->reference->second < 60));
            ASSERT_FALSE(EarlyExitFor(parsed, "brindle").has_value());
            continue;
        }
        const std::optional<EarlyExit> early = EarlyExitFor(parsed, "brindle");
        ASSERT_TRUE(early.has_value());
        if (early->status == kUsageErrorStatus) {
            ASSERT_EQ(early->text.rfind("brindle: ", 0), 0u) << early->text;
            ASSERT_EQ(early->text.find('\n'), early->text.size() - 1) << early->text;
        } else {
            ASSERT_EQ(early->status, 0);
        }
    }
}

}  // namespace
}  // namespace brindle
