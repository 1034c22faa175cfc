#pragma once

#include <cmath>
#include <cstdint>

#include "clock.h"

namespace brindle {

// A wall clock that moves only when told to, in milliseconds; Now() gives whole seconds, as the
// real clock does.
class ClockFake final : public Clock {
public:
    void Set(DateTime value) { milliseconds_ = std::llround(value.days * 86400.0) * 1000; }
    void Set(int hour, int minute, int second) {  // on 7 December 2026
        Set(MakeDateTime(2026, 12, 7, hour, minute, second));
    }
    void Advance(std::int64_t milliseconds) { milliseconds_ += milliseconds; }
    std::int64_t Milliseconds() const { return milliseconds_; }
    // Floored to the second, also before the epoch.
    DateTime Now() const override {
        const std::int64_t seconds = milliseconds_ / 1000 - (milliseconds_ % 1000 < 0 ? 1 : 0);
        return {static_cast<double>(seconds) / 86400.0};
    }

private:
    std::int64_t milliseconds_ = 0;
};

}  // namespace brindle
