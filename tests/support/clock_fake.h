#pragma once

#include <cstdint>

#include "clock.h"

namespace brindle {

// A wall clock that moves only when told to, in milliseconds; Now() gives whole seconds, as the
// real clock does.
class ClockFake final : public Clock {
public:
    void Set(DateTime value);
    void Set(int hour, int minute, int second);  // on 7 December 2026
    void Advance(std::int64_t milliseconds) { milliseconds_ += milliseconds; }
    std::int64_t Milliseconds() const { return milliseconds_; }
    DateTime Now() const override;

private:
    std::int64_t milliseconds_ = 0;
};

}  // namespace brindle
