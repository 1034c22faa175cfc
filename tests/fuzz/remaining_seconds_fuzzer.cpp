#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "countdown_arithmetic.h"
#include "value/date_time.h"

// Arbitrary bit patterns for both date-times (NaN, infinities and huge values included) and for
// the interval: the result is nothing or a remaining time within the period, and nothing faults.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double now = 0.0;
    double reference = 0.0;
    std::int16_t interval = 0;
    if (size < sizeof now + sizeof reference + sizeof interval) {
        return 0;
    }
    std::memcpy(&now, data, sizeof now);
    std::memcpy(&reference, data + sizeof now, sizeof reference);
    std::memcpy(&interval, data + sizeof now + sizeof reference, sizeof interval);

    const std::optional<std::int32_t> remaining =
        brindle::RemainingSeconds(brindle::DateTime{now}, brindle::DateTime{reference}, interval);
    if (remaining && (interval <= 0 || *remaining < 1 || *remaining > interval * 60)) {
        std::abort();
    }
    if (brindle::FormatDateTime(brindle::DateTime{now}, brindle::DatePattern::MinuteSecond)
            .size() != 5) {
        std::abort();
    }
    return 0;
}
