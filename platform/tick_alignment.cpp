#include "tick_alignment.h"

#include <cstdint>

namespace brindle {

std::int64_t DelayToNextBoundary(std::int64_t now, std::int64_t period, std::int64_t slack) {
    if (period <= 0) {
        return 0;
    }
    // The remainder is taken toward minus infinity, so times before the clock's epoch align as
    // later ones do; nothing here adds to `now`, so no time can overflow.
    std::int64_t intoPeriod = now % period;
    if (intoPeriod < 0) {
        intoPeriod += period;
    }
    return period - intoPeriod + slack;
}

}  // namespace brindle

namespace brindle {

std::int64_t DelayToNextTickNs(std::int64_t wallNs, int intervalMs) {
    constexpr std::int64_t kNsPerMs = 1'000'000;
    return DelayToNextBoundary(wallNs, std::int64_t{intervalMs} * kNsPerMs, kTickSlackNs);
}

}  // namespace brindle
