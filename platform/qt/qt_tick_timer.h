#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>

namespace brindle {

class Timer;

// Where a timer control's ticks fall. The free-running kind only exists so the benchmark can
// compare against it.
enum class TickAlignment { WallClock, FreeRunning };

// How long after a boundary of the wall clock an aligned tick lands, so that a clock read in its
// handler already shows the new second even when the timer fires to the millisecond.
inline constexpr std::int64_t kTickSlackMs = 1;

// The wait from wallMs (milliseconds since 1970) until just after the next multiple of
// intervalMs, counted on the wall clock. A time exactly on a boundary waits for the next one. A
// period of zero or less waits for nothing.
std::int64_t DelayToNextTick(std::int64_t wallMs, std::int64_t intervalMs);

// How the backend's timers place their ticks.
struct TickSettings {
    TickAlignment alignment = TickAlignment::WallClock;
    // Milliseconds since 1970 on the wall clock; tests put a fake in its place.
    std::function<std::int64_t()> wallClockMs;

    // Aligned to the real wall clock, unless BRINDLE_FREE_RUNNING_TICKS=1 asks for the old
    // free-running timer. The window system reads this once, when it is made.
    static TickSettings FromEnvironment();
};

// The native timer behind one timer control. It fires once and is armed again at every tick,
// before the control's handler runs: the next tick can then arrive while that handler waits in a
// nested event loop, as the countdown's alert does, and a late tick (a busy thread, a sleeping
// machine, a wall clock that jumped) is followed by one tick at the next boundary, never by a
// burst of catch-up ticks.
class QtTickTimer final : public QTimer {
public:
    QtTickTimer(Timer& control, TickSettings settings, QObject* parent);

    // Copies the control's enabled state: arms the next tick, or stops.
    void FollowControl();
    // The control is going away with its window: no later tick reaches it.
    void Detach();

private:
    void Tick();
    void Arm();

    Timer* control_;
    TickSettings settings_;
};

}  // namespace brindle
