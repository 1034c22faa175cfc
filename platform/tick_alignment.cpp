#include "tick_alignment.h"

#include <cstdint>

namespace brindle {

std::int64_t DelayToNextTickNs(std::int64_t wallNs, int intervalMs) {
    constexpr std::int64_t kNsPerMs = 1'000'000;
    const std::int64_t period = std::int64_t{intervalMs} * kNsPerMs;
    if (period <= 0) {
        return 0;
    }
    // The remainder is taken toward minus infinity, so times before 1970 align as later ones do;
    // nothing here adds to the wall clock's reading, so no time can overflow.
    std::int64_t intoPeriod = wallNs % period;
    if (intoPeriod < 0) {
        intoPeriod += period;
    }
    return period - intoPeriod + kTickSlackNs;
}

}  // namespace brindle
