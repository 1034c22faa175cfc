#pragma once

#include "os_functions.h"
#include "runtime/form.h"

namespace brindle {

enum class TopMostState { Normal, TopMost };

// A window that can put itself into the system's band of topmost windows or take itself out of
// it. Only the z-order changes: position and size are left to the window system, so rounding
// twips to pixels can never shrink or shift the window.
class TopMostForm : public Form {
public:
    using Form::Form;

    // The write-only TopMost property.
    void TopMost(TopMostState state);
    void MakeTopMost(WindowHandle& hWnd);
    void MakeNormal(WindowHandle& hWnd);
};

}  // namespace brindle
