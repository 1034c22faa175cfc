#pragma once

#include "value/date_time.h"

namespace brindle {

// The wall clock. Tests put a fake in its place.
class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time now, in whole seconds.
    virtual DateTime Now() const = 0;
};

// The machine's local wall clock.
class SystemClock final : public Clock {
public:
    DateTime Now() const override;
};

}  // namespace brindle
