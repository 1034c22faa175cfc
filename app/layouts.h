#pragma once

#include <string>
#include <vector>

#include "runtime/layout.h"

namespace brindle {

// The design-time description of the four windows. Every load builds a window from these, so
// after an unload and reload the controls are back at these values.
const WindowLayout& CountDownLayout();
const WindowLayout& SetupLayout();
const WindowLayout& MenuLayout();
const WindowLayout& ReferenceLayout();

}  // namespace brindle
