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

// The items of the setup window's two lists as its load fills them, in list order: the interval in
// minutes (Combo1) and the warning lead in seconds (Combo2). The command line accepts exactly
// these.
const std::vector<std::string>& IntervalItems();
const std::vector<std::string>& LeadItems();

}  // namespace brindle
