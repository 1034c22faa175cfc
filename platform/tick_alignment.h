#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace brindle {

// Where a timer control's ticks fall: just after each whole multiple of the period on the wall
// clock, or free-running at the period from whenever the timer was started.
enum class TickAlignment { WallClock, FreeRunning };

// The alignment of this build. Free-running ticks exist only in the benchmark's build
// (-DBRINDLE_FREE_RUNNING_TICKS=ON), which compares against them; the program itself takes no
// setting for it.
#ifdef BRINDLE_FREE_RUNNING_TICKS
inline constexpr TickAlignment kBuildTickAlignment = TickAlignment::FreeRunning;
#else
inline constexpr TickAlignment kBuildTickAlignment = TickAlignment::WallClock;
#endif

// How long after a boundary of the wall clock an aligned tick is aimed: 100 us. A shot that still
// fires before the boundary by the wall clock (a clock being slewed, a timer that keeps only to
// the millisecond) is not taken for the tick but aimed again, so the slack only has to make that
// rare, and the display is late by no more than it.
inline constexpr std::int64_t kTickSlackNs = 100'000;

// The wait in nanoseconds from wallNs (nanoseconds since 1970) until kTickSlackNs after the next
// multiple of intervalMs on the wall clock; a time exactly on a boundary waits for the next one,
// and a period of zero or less gives no wait.
std::int64_t DelayToNextTickNs(std::int64_t wallNs, int intervalMs);

// How a backend's timers place their ticks.
struct TickSettings {
    TickAlignment alignment = kBuildTickAlignment;
    // Nanoseconds since 1970 on the wall clock; tests put a fake in its place.
    std::function<std::int64_t()> wallClockNs;
};

// Whether a timer's shot that fired is the tick it was aimed at, or came while the wall clock
// still reads the period before that tick's boundary.
enum class ShotArrival { Tick, Early };

// What a backend does when a timer's shot fires: raise the tick or not, and arm the next shot.
struct FiredShot {
    ShotArrival arrival = ShotArrival::Tick;
    std::int64_t nextDelayNs = 0;
};

// Where one timer's shots are aimed. Each backend keeps one per timer control, arms its one-shot
// native timer with the waits it gives and raises the control's tick only when it says so, so both
// place ticks alike and compute nothing of their own.
//
// An aligned shot is aimed just after the next boundary, but the native timer measures the wait on
// its own clock and may fire while the wall clock still reads the old period. Such a shot is no
// tick: it is aimed again at the same boundary for what is left. So a tick's handler, which reads
// the same wall clock later, never shows the time of the period that is ending. A shot that finds
// the wall clock in any other period (it passed the boundary, or jumped) is the tick.
class TickAim {
public:
    explicit TickAim(TickSettings settings) : settings_(std::move(settings)) {}

    // The wait from now until the next tick of a timer of that period.
    std::int64_t AimNs(int intervalMs);
    // The shot aimed last has fired: whether it is the tick, and the wait until the next shot.
    FiredShot Fired(int intervalMs);

private:
    std::int64_t AimFrom(std::int64_t wallNs, int intervalMs);

    TickSettings settings_;
    // The period of the last aligned aim in nanoseconds (zero when none) and the number of the
    // period on the wall clock that the aim was taken in.
    std::int64_t aimedPeriodNs_ = 0;
    std::int64_t aimedIndex_ = 0;
};

}  // namespace brindle
