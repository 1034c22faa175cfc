#pragma once

#include <cstdint>
#include <functional>

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

// How long after a boundary of the wall clock an aligned tick lands: 1 ms, so that a clock read in
// the tick's handler already shows the new second even where the timer keeps only to the
// millisecond, and no display is late by more than that.
inline constexpr std::int64_t kTickSlackNs = 1'000'000;

// The wait in nanoseconds from wallNs (nanoseconds since 1970) until kTickSlackNs after the next
// multiple of intervalMs on the wall clock; a time exactly on a boundary waits for the next one,
// and a period of zero or less gives no wait. Both backends arm their timers with it, so every tick
// lands just after a boundary and drift never builds up.
std::int64_t DelayToNextTickNs(std::int64_t wallNs, int intervalMs);

// How a backend's timers place their ticks.
struct TickSettings {
    TickAlignment alignment = kBuildTickAlignment;
    // Nanoseconds since 1970 on the wall clock; tests put a fake in its place.
    std::function<std::int64_t()> wallClockNs;
};

}  // namespace brindle
