#include "value/numbers.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace brindle {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    // strtod needs a terminated copy; it reads exactly the part scanned above.
    const std::string number(text.substr(start, i - start));
    double value = std::strtod(number.c_str(), nullptr);
    // Magnitudes beyond a double's range are clamped, so the result is always finite.
    if (std::isinf(value)) {
        value = value > 0 ? DBL_MAX : -DBL_MAX;
    }
    return value;
}

std::int16_t RoundToInt16(double value) { return RoundTo<std::int16_t>(value); }

std::int32_t RoundToInt32(double value) { return RoundTo<std::int32_t>(value); }

std::int16_t Multiply16(std::int16_t a, std::int16_t b) {
    const std::int32_t product = static_cast<std::int32_t>(a) * b;
    if (product < std::numeric_limits<std::int16_t>::min() ||
        product > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError("16-bit product out of range");
    }
    return static_cast<std::int16_t>(product);
}

std::string IntegerText(std::int32_t value) { return std::to_string(value); }

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
