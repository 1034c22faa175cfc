#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "value/date_time.h"

namespace brindle {

// Whether a warning is sounding when a tick asks for the next one.
enum class AlertState { Idle, Sounding };

// Decides on which tick the warning sounds: once for each period boundary the countdown
// approaches, at the first tick whose time left is at or below the lead seconds while the
// previous tick was still above them. A late tick that skipped the exact second still warns as
// long as the boundary lies ahead; a boundary already warned is never warned again. A boundary
// that becomes due while another warning sounds is kept and warned at the first tick after it,
// as long as it still lies ahead.
class WarningSchedule {
public:
    // A new countdown starts: the tick before it belongs to no period of the new one.
    void Restart() {
        previousTick_.reset();
        postponedBoundary_.reset();
    }

    // One tick at now with `remaining` seconds to the boundary; leadText is the lead as the
    // countdown window holds it. True when the warning is to sound now.
    bool IsDue(DateTime now, std::int32_t remaining, std::string_view leadText, AlertState alert);

    // The lead in seconds, or nullopt for a text that is not a plain positive whole number
    // ("020", " 20" and "20 " never warn).
    static std::optional<std::int32_t> LeadSeconds(std::string_view leadText);

private:
    std::optional<std::int64_t> DueBoundary(std::int64_t tick, std::int32_t remaining,
                                            std::string_view leadText) const;

    std::optional<std::int64_t> previousTick_;
    std::optional<std::int64_t> lastWarnedBoundary_;
    std::optional<std::int64_t> postponedBoundary_;
};

}  // namespace brindle
