#pragma once

#include <cstdint>

#include "runtime/control.h"
#include "runtime/form.h"

namespace brindle {

// The one mouse-down body of every label on the two caption-less windows. Any button starts the
// window system's move as a press on a title bar would; the right button, once the move is over,
// opens the context menu that menuCarrier owns as a popup of the pressed label's window.
void LabelMouseDown(Form& window, MouseButton button, Form& menuCarrier);

}  // namespace brindle
