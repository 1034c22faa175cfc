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

std::optional<std::int64_t> WarningSchedule::DueBoundary(std::int64_t tick, std::int32_t remaining,
                                                         std::string_view leadText) const {
    const std::optional<std::int32_t> lead = LeadSeconds(leadText);
    if (!lead || remaining > *lead) {
        return std::nullopt;
    }
    const std::int64_t boundary = tick + remaining;
    if (lastWarnedBoundary_ == boundary) {
        return std::nullopt;
    }
    // Without an earlier tick of this countdown only the exact moment counts: a countdown started
    // inside the lead time does not warn for a boundary that is already close.
    const bool crossed = previousTick_ ? boundary - *previousTick_ > *lead : remaining == *lead;
    if (!crossed) {
        return std::nullopt;
    }
    return boundary;
}

bool WarningSchedule::IsDue(DateTime now, std::int32_t remaining, std::string_view leadText,
                            AlertState alert) {
    const auto tick = static_cast<std::int64_t>(std::llround(now.days * 86400.0));
    std::optional<std::int64_t> due = DueBoundary(tick, remaining, leadText);
    previousTick_ = tick;
    if (!due && postponedBoundary_ > tick) {
        due = postponedBoundary_;
    }
    postponedBoundary_.reset();
    if (!due) {
        return false;
    }
    // A warning that is still sounding would swallow this one: keep the boundary for later.
    if (alert == AlertState::Sounding) {
        postponedBoundary_ = due;
        return false;
    }
    lastWarnedBoundary_ = due;
    return true;
}

}  // namespace brindle
