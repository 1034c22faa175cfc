#include "countdown_arithmetic.h"

#include "value/numbers.h"

namespace brindle {

namespace {

// The countdown only ever sees date-times from 1 January 100 to 31 December 9999. Outside that
// span (or for a value that is not a number) the days are too coarse or too far out for the
// period arithmetic to mean anything, so such a value gives no period at all.
bool IsUsableDateTime(DateTime value) {
    static const double first = MakeDateTime(100, 1, 1, 0, 0, 0).days;
    static const double pastLast = MakeDateTime(10000, 1, 1, 0, 0, 0).days;
    return value.days >= first && value.days < pastLast;
}

}  // namespace

std::int32_t SecondsOfDay(DateTime value) {
    const double hour = NumericValue(FormatDateTime(value, DatePattern::Hour));
    const double minute = NumericValue(FormatDateTime(value, DatePattern::Minute));
    const double second = NumericValue(FormatDateTime(value, DatePattern::Second));
    return RoundToInt32(hour * 3600.0 + minute * 60.0 + second);
}

std::optional<std::int32_t> RemainingSeconds(DateTime now, DateTime reference,
                                             std::int16_t interval) {
    // An interval of 0 would divide by zero and a negative one would count time backwards:
    // neither has a period, and neither may fault.
    if (interval <= 0) {
        return std::nullopt;
    }
    if (!IsUsableDateTime(now) || !IsUsableDateTime(reference)) {
        return std::nullopt;
    }
    std::int16_t period = 0;
    try {
        period = Multiply16(interval, 60);
    } catch (const OverflowError&) {
        return std::nullopt;
    }
    const std::int32_t nowSec = SecondsOfDay(now);
    const std::int32_t refSec = SecondsOfDay(reference);
    const std::int32_t d = nowSec - refSec;
    // Single precision holds every whole number involved exactly.
    float phase = static_cast<float>(d);
    phase = static_cast<float>(RoundToInt32(phase) % static_cast<std::int32_t>(period));
    if (phase < 0) {
        phase = static_cast<float>(period) + phase;
    }
    const DateTime boundary =
        DateAdd(DateUnit::Minute, interval, DateAdd(DateUnit::Second, -phase, now));
    const DateTime remaining = boundary - now;
    return RoundToInt32(remaining.days * 86400.0);
}

std::string FormatRemaining(std::int32_t seconds) {
    return FormatDateTime(DateTime{seconds / 86400.0}, DatePattern::MinuteSecond);
}

}  // namespace brindle
