#include "value/numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace brindle {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents are read only this far; any larger one already puts every mantissa a text can hold
// outside a double's range.
constexpr std::int64_t kExponentCap = 1'000'000'000'000;

// The power of ten of the first significant digit of whole.fraction: 0 for "5", 2 for "123",
// -3 for ".001". Only called when the number is out of range, so it is not zero.
std::int64_t LeadingDigitPower(std::string_view whole, std::string_view fraction) {
    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        return static_cast<std::int64_t>(whole.size() - firstWhole) - 1;
    }
    const std::size_t firstFraction = fraction.find_first_not_of('0');
    return -static_cast<std::int64_t>(firstFraction) - 1;
}

template <class Int>
Int RoundTo(double value) {
    if (!std::isfinite(value)) {
        throw OverflowError("not a finite number");
    }
    // The default floating-point rounding mode takes halves to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        throw OverflowError("value out of range");
    }
    return static_cast<Int>(rounded);
}

}  // namespace

double NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    const std::string_view whole = text.substr(start, i - start);
    std::string_view fraction;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (whole.empty() && fraction.empty()) {
        return 0.0;
    }
    // An exponent counts only when at least one digit follows it.
    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j) {
                exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), kExponentCap);
            }
            exponent = negativeExponent ? -exponent : exponent;
            i = j;
        }
    }
    // from_chars reads the same grammar as the scan above and, unlike strtod, ignores the C
    // locale, which a toolkit may have switched to one with a decimal comma.
    double value = 0.0;
    const char* first = text.data() + start;
    const char* last = text.data() + i;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Magnitudes beyond a double's range are clamped, so the result is always finite; those
        // too small for one become zero.
        value = LeadingDigitPower(whole, fraction) + exponent >= 0 ? DBL_MAX : 0.0;
    } else if (error != std::errc{} || end != last) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::int16_t RoundToInt16(double value) {
    return RoundTo<std::int16_t>(value);
}

std::int32_t RoundToInt32(double value) {
    return RoundTo<std::int32_t>(value);
}

std::int16_t Multiply16(std::int16_t a, std::int16_t b) {
    const std::int32_t product = static_cast<std::int32_t>(a) * b;
    if (product < std::numeric_limits<std::int16_t>::min() ||
        product > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError("16-bit product out of range");
    }
    return static_cast<std::int16_t>(product);
}

std::string IntegerText(std::int32_t value) {
    return std::to_string(value);
}

std::optional<std::int32_t> WholeNumberFromText(std::string_view text) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace brindle
