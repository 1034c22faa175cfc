#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "value/numbers.h"

// Any bytes at all may reach the number reader from a text box; it must return a finite value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!std::isfinite(brindle::NumericValue(text))) {
        std::abort();
    }
    // The whole-number reader sees the same text boxes; it may refuse text but never fault.
    (void)brindle::WholeNumberFromText(text);
    return 0;
}
