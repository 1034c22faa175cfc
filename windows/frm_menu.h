#pragma once

#include "form1.h"
#include "frm_count_down.h"
#include "runtime/caption_drag.h"

namespace brindle {

// The window that is never shown and only carries the context menu. Its three commands move
// between the other windows; it holds no state of its own.
class frmMenu final : public MenuCarrierForm {
public:
    frmMenu(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown, Form1& setup,
            Form& referenceDialog);

    MenuItem& mnuMenu() override { return Get<MenuItem>("mnuMenu"); }

private:
    void BindControls() override;

    void mnuCT_Click();
    void mnuReferance_Click();
    void mnuExit_Click();

    frmCountDown& countDown_;
    Form1& setup_;
    Form& referenceDialog_;
};

}  // namespace brindle
