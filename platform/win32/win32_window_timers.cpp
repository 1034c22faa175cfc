#include "win32_window_timers.h"

namespace brindle {

void Win32WindowTimers::Write(const Control& timer) {
    for (Slot& slot : slots_) {
        if (slot.timer != &timer) {
            continue;
        }
        if (slot.timer->Enabled() && slot.timer->Interval() > 0) {
            Arm(slot);
        } else {
            Stop(slot);
        }
    }
}

void Win32WindowTimers::StopAll() {
    for (Slot& slot : slots_) {
        Stop(slot);
    }
}

bool Win32WindowTimers::Tick(UINT id) {
    for (Slot& slot : slots_) {
        if (slot.id != id) {
            continue;
        }
        // Re-armed before the handler, so the next tick comes while the handler waits in a nested
        // message loop, as the countdown's alert does. A tick already queued when the control was
        // disabled arms nothing. A shot that came before its boundary is aimed at it again and
        // raises no tick.
        if (ticks_.alignment == TickAlignment::WallClock && slot.timer->Enabled() && slot.shot) {
            const FiredShot shot = slot.aim.Fired(slot.timer->Interval());
            slot.shot->Start(shot.nextDelayNs);
            if (shot.arrival == ShotArrival::Early) {
                return true;
            }
        }
        // Returns at once after raising: the program may have unloaded the window.
        slot.timer->RaiseTimer();
        return true;
    }
    return false;
}

// An aligned timer is armed afresh at every tick, before the handler runs, for just after the
// next multiple of its period on the wall clock (TickAim), so a late tick (a busy thread, a
// sleeping machine, a wall clock that jumped) is followed by one tick at the next boundary, never
// by a burst of catch-up ticks. Its shot is a precise one-shot timer that posts the tick message.
// The free-running timer is the plain repeating SetTimer.
void Win32WindowTimers::Arm(Slot& slot) {
    if (ticks_.alignment == TickAlignment::FreeRunning) {
        SetTimer(window_, slot.id, static_cast<UINT>(slot.timer->Interval()), nullptr);
        return;
    }
    if (!slot.shot) {
        slot.shot = std::make_unique<Win32PreciseTimer>(window_, tickMessage_, slot.id);
    }
    slot.shot->Start(slot.aim.AimNs(slot.timer->Interval()));
}

void Win32WindowTimers::Stop(Slot& slot) {
    KillTimer(window_, slot.id);
    if (slot.shot) {
        slot.shot->Stop();
    }
}

}  // namespace brindle
