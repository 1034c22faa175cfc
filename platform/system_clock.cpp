#include <chrono>
#include <ctime>

#include "clock.h"

namespace brindle {

DateTime SystemClock::Now() const {
    // Not std::time: on Linux it reads the kernel's coarse clock, which turns to the next second
    // up to a scheduler tick (4 ms and more) late, so a tick just after the boundary would still
    // read the old second.
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec);
}

}  // namespace brindle
