#include "warning_schedule.h"

#include <cmath>

#include "value/numbers.h"

namespace brindle {

std::optional<std::int32_t> WarningSchedule::LeadSeconds(std::string_view leadText) {
    const std::optional<std::int32_t> lead = WholeNumberFromText(leadText);
    if (!lead || *lead <= 0 || IntegerText(*lead) != leadText) {
        return std::nullopt;
    }
    return lead;
}

bool WarningSchedule::IsDue(DateTime now, std::int32_t remaining, std::string_view leadText) {
    const auto tick = static_cast<std::int64_t>(std::llround(now.days * 86400.0));
    const std::optional<std::int64_t> previous = previousTick_;
    previousTick_ = tick;

    const std::optional<std::int32_t> lead = LeadSeconds(leadText);
    if (!lead || remaining > *lead) {
        return false;
    }
    const std::int64_t boundary = tick + remaining;
    if (lastWarnedBoundary_ == boundary) {
        return false;
    }
    // Without an earlier tick of this countdown only the exact moment counts: a countdown started
    // inside the lead time does not warn for a boundary that is already close.
    const bool crossed = previous ? boundary - *previous > *lead : remaining == *lead;
    if (!crossed) {
        return false;
    }
    lastWarnedBoundary_ = boundary;
    return true;
}

}  // namespace brindle
