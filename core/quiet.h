#pragma once

#include "desktop.h"

namespace brindle {

// Whether the chime is held back while the person is busy; off unless the person chose it.
enum class Quiet { Off, WhenBusy };

// The name the choice is saved under for the user.
inline constexpr char kQuietWhenBusySetting[] = "QuietWhenBusy";

// The saved choice; a store that cannot be read leaves it off, as on a first run.
inline Quiet SavedQuiet(Desktop& desktop) {
    return desktop.ReadFlag(kQuietWhenBusySetting).value_or(false) ? Quiet::WhenBusy : Quiet::Off;
}

}  // namespace brindle
