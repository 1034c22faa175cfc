#pragma once

#include <cstdint>

#include "runtime/control.h"
#include "runtime/form.h"

namespace brindle {

// A window that only carries the context menu that the labels of the caption-less windows open.
class MenuCarrierForm : public Form {
public:
    using Form::Form;
    virtual MenuItem& mnuMenu() = 0;
};

// The one mouse-down body of every label on the two caption-less windows. Any button starts the
// window system's move as a press on a title bar would; the right button, once the move is over,
// opens the context menu that menuCarrier owns as a popup of the pressed label's window.
void LabelMouseDown(Form& window, MouseButton button, MenuCarrierForm& menuCarrier);

}  // namespace brindle
