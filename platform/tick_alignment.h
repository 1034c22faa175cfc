#pragma once

#include <cstdint>

namespace brindle {

// How long to wait from `now` until just after the next whole multiple of `period` on the same
// clock, in the units of the arguments. Both backends arm their timers with it, so every tick
// lands `slack` after a boundary of the wall clock and drift never builds up. A period of zero or
// less gives no wait.
std::int64_t DelayToNextBoundary(std::int64_t now, std::int64_t period, std::int64_t slack);

}  // namespace brindle
