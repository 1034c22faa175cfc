#include "win32_controls.h"

namespace brindle {

Win32Timer::Win32Timer(Timer& timer, UINT id, HWND window, const TickSettings& ticks)
    : timer_(timer), id_(id), window_(window), alignment_(ticks.alignment), aim_(ticks) {
    timer_.Attach(this);
}

Win32Timer::~Win32Timer() {
    timer_.Attach(nullptr);
    Stop();
}

// An aligned timer is armed afresh at every tick, before the handler runs, for just after the
// next multiple of its period on the wall clock (TickAim), so a late tick (a busy thread, a
// sleeping machine, a wall clock that jumped) is followed by one tick at the next boundary, never
// by a burst of catch-up ticks. Its shot is a precise one-shot timer that posts the tick message.
// The free-running timer is the plain repeating SetTimer.
void Win32Timer::ShowEnabled(bool enabled) {
    if (!enabled || timer_.Interval() <= 0) {
        Stop();
    } else if (alignment_ == TickAlignment::FreeRunning) {
        SetTimer(window_, id_, static_cast<UINT>(timer_.Interval()), nullptr);
    } else {
        if (!shot_) {
            shot_ = std::make_unique<Win32PreciseTimer>(window_, kTickMessage, id_);
        }
        shot_->Start(aim_.AimNs(timer_.Interval()));
    }
}

void Win32Timer::Tick() {
    // Re-armed before the handler, so the next tick comes while the handler waits in a nested
    // message loop, as the countdown's alert does. A tick already queued when the control was
    // disabled arms nothing. A shot that came before its boundary is aimed at it again and raises
    // no tick.
    if (alignment_ == TickAlignment::WallClock && timer_.Enabled() && shot_) {
        const FiredShot shot = aim_.Fired(timer_.Interval());
        shot_->Start(shot.nextDelayNs);
        if (shot.arrival == ShotArrival::Early) {
            return;
        }
    }
    // Returns at once after raising: the program may have unloaded the window.
    timer_.RaiseTimer();
}

void Win32Timer::Stop() {
    KillTimer(window_, id_);
    if (shot_) {
        shot_->Stop();
    }
}

}  // namespace brindle
