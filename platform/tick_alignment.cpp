#include "tick_alignment.h"

#include <cstdint>

namespace brindle {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

// The remainder of wallNs in its period, taken toward minus infinity, so times before 1970 align
// as later ones do.
std::int64_t IntoPeriod(std::int64_t wallNs, std::int64_t period) {
    const std::int64_t into = wallNs % period;
    return into < 0 ? into + period : into;
}

// The number of the period that wallNs lies in, counted from 1970, rounded toward minus infinity.
std::int64_t PeriodIndex(std::int64_t wallNs, std::int64_t period) {
    const std::int64_t index = wallNs / period;
    return wallNs % period < 0 ? index - 1 : index;
}

}  // namespace

std::int64_t DelayToNextTickNs(std::int64_t wallNs, int intervalMs) {
    const std::int64_t period = std::int64_t{intervalMs} * kNsPerMs;
    if (period <= 0) {
        return 0;
    }
    // Nothing here adds to the wall clock's reading, so no time can overflow.
    return period - IntoPeriod(wallNs, period) + kTickSlackNs;
}

std::int64_t TickAim::AimNs(int intervalMs) {
    if (settings_.alignment == TickAlignment::FreeRunning) {
        return std::int64_t{intervalMs} * kNsPerMs;
    }
    return AimFrom(settings_.wallClockNs(), intervalMs);
}

FiredShot TickAim::Fired(int intervalMs) {
    if (settings_.alignment == TickAlignment::FreeRunning) {
        return {ShotArrival::Tick, std::int64_t{intervalMs} * kNsPerMs};
    }
    // One reading decides and aims the next shot; the tick's handler reads the clock after it.
    const std::int64_t wallNs = settings_.wallClockNs();
    const bool early = aimedPeriodNs_ > 0 && PeriodIndex(wallNs, aimedPeriodNs_) == aimedIndex_;
    return {early ? ShotArrival::Early : ShotArrival::Tick, AimFrom(wallNs, intervalMs)};
}

std::int64_t TickAim::AimFrom(std::int64_t wallNs, int intervalMs) {
    const std::int64_t period = std::int64_t{intervalMs} * kNsPerMs;
    aimedPeriodNs_ = period > 0 ? period : 0;
    aimedIndex_ = period > 0 ? PeriodIndex(wallNs, period) : 0;
    return DelayToNextTickNs(wallNs, intervalMs);
}

}  // namespace brindle
