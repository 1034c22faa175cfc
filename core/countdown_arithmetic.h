#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "value/date_time.h"

namespace brindle {

// Seconds since midnight of a date-time's time of day, 0 to 86,399.
std::int32_t SecondsOfDay(DateTime value);

// Seconds from now to the end of the current period, 1 to interval x 60. The periods are
// anchored at the reference's time of day; its date is ignored. nullopt when the interval gives
// no valid period: 0, negative, or too large for interval x 60 to fit in 16 bits; nullopt too
// when now or the reference is not a usable date-time: not a finite value from 1 January 100 to
// 31 December 9999.
std::optional<std::int32_t> RemainingSeconds(DateTime now, DateTime reference,
                                             std::int16_t interval);

// "nn:ss" of a number of seconds; whole hours are dropped (3,600 shows 00:00).
std::string FormatRemaining(std::int32_t seconds);

}  // namespace brindle
