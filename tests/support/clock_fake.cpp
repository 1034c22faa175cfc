#include "clock_fake.h"

#include <cmath>

namespace brindle {

void ClockFake::Set(DateTime value) {
    milliseconds_ = static_cast<std::int64_t>(std::llround(value.days * 86400.0)) * 1000;
}

void ClockFake::Set(int hour, int minute, int second) {
    Set(MakeDateTime(2026, 12, 7, hour, minute, second));
}

DateTime ClockFake::Now() const {
    // Floor to the second, also for times before the epoch.
    std::int64_t seconds = milliseconds_ / 1000;
    if (milliseconds_ % 1000 < 0) {
        --seconds;
    }
    return {static_cast<double>(seconds) / 86400.0};
}

}  // namespace brindle
