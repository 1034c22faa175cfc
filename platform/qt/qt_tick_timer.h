#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
#include <functional>

#include "runtime/control.h"
#include "tick_alignment.h"

namespace brindle {

// Nanoseconds since 1970 on the real wall clock, as aligned ticks read it.
std::int64_t RealWallClockNs();

// The native timer behind one timer control: a kernel timer whose expiry wakes the event loop
// through a socket notifier. It fires once and is armed again, where TickAim aims it, at every
// expiry before the control's handler runs; an expiry that TickAim finds early raises no tick.
// Armed first, the next tick can arrive while the handler waits in a nested event loop, as the
// countdown's alert does, and a late tick (a busy thread, a sleeping machine, a wall clock that
// jumped) is followed by one tick at the next boundary, never by a burst of catch-up ticks.
//
// The wait is measured on the monotonic clock from a reading of the wall clock in this process,
// never against the kernel's wall clock: a clock faked inside the process (as the end-to-end
// tests do) then still places the ticks on its own boundaries.
class QtTickTimer final : public QObject, public TimerPeer {
public:
    QtTickTimer(Timer& control, TickSettings settings, QObject* parent);
    ~QtTickTimer() override;
    QtTickTimer(const QtTickTimer&) = delete;
    QtTickTimer& operator=(const QtTickTimer&) = delete;

    // Arms the next tick, or stops.
    void ShowEnabled(bool enabled) override;
    // The control's window is going: the timer lets go of the control, and no later tick reaches
    // it, though Qt deletes the timer only with the window.
    void Detach();

    // The wait last armed, in nanoseconds; zero once stopped.
    std::int64_t ArmedDelayNs() const { return armedDelayNs_; }

private:
    void Expired();
    void Arm();
    void Disarm();
    void SetKernelTimer(std::int64_t delayNs);

    Timer* control_;
    TickAim aim_;
    int fd_;
    QSocketNotifier notifier_;
    std::int64_t armedDelayNs_ = 0;
};

}  // namespace brindle
