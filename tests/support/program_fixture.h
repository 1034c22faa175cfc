#pragma once

#include "clock_fake.h"
#include "os_functions_fake.h"
#include "program.h"
#include "window_system_fake.h"

namespace brindle {

// The whole program on the fake window system and clock, started as a user would start it.
struct ProgramFixture {
    ClockFake clock;
    OsFunctionsFake os{clock};
    WindowSystemFake windows;
    Program program{windows, os, clock};

    ProgramFixture() {
        clock.Set(10, 0, 0);
        program.Start();
    }

    // Ticks the countdown's timer as the toolkit would, every 250 ms for the given span.
    void RunTimerFor(std::int64_t milliseconds) {
        for (std::int64_t t = 0; t < milliseconds; t += 250) {
            clock.Advance(250);
            if (program.frmCountDown.IsLoaded()) {
                windows.FireTimer(program.frmCountDown, "tmrDisplayTime");
            }
        }
    }
};

}  // namespace brindle
