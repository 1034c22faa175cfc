#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
#include <functional>

namespace brindle {

class Timer;

// Where a timer control's ticks fall. The free-running kind only exists so the benchmark can
// compare against it.
enum class TickAlignment { WallClock, FreeRunning };

// How long after a boundary of the wall clock an aligned tick lands, so that a clock read in its
// handler already shows the new second. The kernel's timer is precise to microseconds, so a fifth
// of a millisecond covers its slack without delaying the display.
inline constexpr std::int64_t kTickSlackNs = 200'000;

// The wait from wallNs (nanoseconds since 1970) until just after the next multiple of intervalMs,
// counted on the wall clock. A time exactly on a boundary waits for the next one. A period of
// zero or less waits for nothing.
std::int64_t DelayToNextTickNs(std::int64_t wallNs, int intervalMs);

// How the backend's timers place their ticks.
struct TickSettings {
    TickAlignment alignment = TickAlignment::WallClock;
    // Nanoseconds since 1970 on the wall clock; tests put a fake in its place.
    std::function<std::int64_t()> wallClockNs;

    // Aligned to the real wall clock; a build configured with BRINDLE_FREE_RUNNING_TICKS keeps
    // the old free-running timer, for the benchmark to compare against. Nothing at run time
    // changes it.
    static TickSettings ForThisBuild();
};

// The native timer behind one timer control: a kernel timer whose expiry wakes the event loop
// through a socket notifier. It fires once and is armed again at every tick, before the control's
// handler runs: the next tick can then arrive while that handler waits in a nested event loop, as
// the countdown's alert does, and a late tick (a busy thread, a sleeping machine, a wall clock
// that jumped) is followed by one tick at the next boundary, never by a burst of catch-up ticks.
//
// The wait is measured on the monotonic clock from a reading of the wall clock in this process,
// never against the kernel's wall clock: a clock faked inside the process (as the end-to-end
// tests do) then still places the ticks on its own boundaries.
class QtTickTimer final : public QObject {
public:
    QtTickTimer(Timer& control, TickSettings settings, QObject* parent);
    ~QtTickTimer() override;
    QtTickTimer(const QtTickTimer&) = delete;
    QtTickTimer& operator=(const QtTickTimer&) = delete;

    // Copies the control's enabled state: arms the next tick, or stops.
    void FollowControl();
    // The control is going away with its window: no later tick reaches it.
    void Detach();

    // Whether a tick is pending, as the kernel sees it. Named as Qt's timers name it, since the
    // window peer asks it of every timer it keeps.
    bool isActive() const;
    // The wait last armed, in nanoseconds; zero once stopped.
    std::int64_t ArmedDelayNs() const { return armedDelayNs_; }

private:
    void Expired();
    void Arm();
    void Disarm();

    Timer* control_;
    TickSettings settings_;
    int fd_;
    QSocketNotifier notifier_;
    std::int64_t armedDelayNs_ = 0;
};

}  // namespace brindle
