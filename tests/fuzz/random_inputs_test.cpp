#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "command_line.h"
#include "form1.h"
#include "value/numbers.h"

namespace brindle {
namespace {

// Fixed seeds keep every run identical, so a failure reproduces exactly.
std::string RandomDigits(std::mt19937_64& random, std::size_t most) {
    std::string digits(random() % (most + 1), '0');
    for (char& c : digits) {
        c = static_cast<char>('0' + random() % 10);
    }
    return digits;
}

TEST(RandomInputs, AWellFormedNumberAmongOtherTextReadsAsTheCLibraryReadsIt) {
    // Blanks before and unrelated text after; strtod reads the number alone in the C locale, and
    // what it finds beyond a double's range is clamped to the largest finite value.
    std::mt19937_64 random(1601);
    static const char* kSuffixes[] = {"", " ", "x", ",5", ":00", "e", "e+", ".", "\xff"};
    for (int i = 0; i < 100'000; ++i) {
        const std::string whole = RandomDigits(random, 20);
        const std::string fraction = random() % 2 ? "." + RandomDigits(random, 20) : "";
        if (whole.empty() && fraction.size() < 2) {
            continue;
        }
        std::string number = (random() % 3 == 0 ? "-" : "") + whole + fraction;
        if (random() % 2 == 0) {
            number += std::string(random() % 2 ? "e" : "E") + (random() % 2 ? "-" : "") +
                      std::to_string(random() % 1000);
        }
        const std::string text = std::string(random() % 2 ? " \t" : "") + number +
                                 kSuffixes[random() % std::size(kSuffixes)];
        const double expected = std::strtod(number.c_str(), nullptr);
        ASSERT_EQ(NumericValue(text), std::clamp(expected, -DBL_MAX, DBL_MAX)) << text;
    }
}

TEST(RandomInputs, ARandomCommandLineStartsWithListValuesOrEndsWithOneLine) {
    static const char* kPieces[] = {"--interval", "--lead", "--reference", "--help", "-v",
                                    "=",          "-",      "15",          "30",     "0",
                                    "10:07",      "24:00",  ":",           "x",      "\xff"};
    std::mt19937_64 random(1107);
    const auto isItem = [](const std::vector<std::string>& items, const std::string& s) {
        return std::find(items.begin(), items.end(), s) != items.end();
    };
    for (int i = 0; i < 20'000; ++i) {
        std::vector<std::string> arguments(random() % 5);
        for (std::string& argument : arguments) {
            for (std::size_t n = random() % 4; n > 0; --n) {
                argument += kPieces[random() % std::size(kPieces)];
            }
        }
        const CommandLine parsed = ParseCommandLine(arguments);
        const auto early = EarlyExitFor(parsed, "brindle");
        if (const auto* options = std::get_if<StartOptions>(&parsed)) {
            ASSERT_TRUE(!options->interval || isItem(Form1::IntervalItems(), *options->interval));
            ASSERT_TRUE(!options->lead || isItem(Form1::LeadItems(), *options->lead));
            ASSERT_TRUE(!options->reference || options->reference->hour < 24);
            ASSERT_FALSE(early.has_value());
        } else if (early->status != 0) {
            ASSERT_EQ(early->text.rfind("brindle: ", 0), 0u) << early->text;
            ASSERT_EQ(early->text.find('\n'), early->text.size() - 1) << early->text;
        }
    }
}

}  // namespace
}  // namespace brindle
