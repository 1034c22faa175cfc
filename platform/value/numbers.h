#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brindle {

// Raised when a value does not fit the whole-number type it is converted to. Handlers catch it at
// the step where the program's rules say the handler ends.
class OverflowError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The number written at the start of a text: leading blanks skipped, then an optional sign,
// digits, a decimal point and an exponent; 0 when the text starts with no number.
double NumericValue(std::string_view text);

// Round to the nearest whole number, halves to the even neighbour. Throws OverflowError when the
// result lies outside the target type (or the value is not a number).
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);

// A 16-bit product; throws OverflowError when it does not fit.
std::int16_t Multiply16(std::int16_t a, std::int16_t b);

// Plain decimal text: no leading blank, no leading zeros, a minus sign for negatives.
std::string IntegerText(std::int32_t value);

// A whole decimal number ("65535", "000000"); nullopt for text that is not one or does not fit.
std::optional<std::int32_t> WholeNumberFromText(std::string_view text);

}  // namespace brindle
