#pragma once

#include "form1.h"
#include "frm_count_down.h"
#include "runtime/caption_drag.h"

namespace brindle {

// The window that is never shown and only carries the context menu. Its three commands move
// between the other windows; its check item shows and saves the person's choice of quiet, which
// the desktop keeps, not this window.
class frmMenu final : public MenuCarrierForm {
public:
    frmMenu(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown, Form1& setup,
            Form& referenceDialog);

    MenuItem& mnuMenu() override { return Get<MenuItem>("mnuMenu"); }

private:
    void BindControls() override;
    void Form_Load() override;

    MenuItem& mnuQuiet() { return Get<MenuItem>("mnuQuiet"); }

    void mnuCT_Click();
    void mnuReferance_Click();
    void mnuExit_Click();
    void mnuQuiet_Click();

    frmCountDown& countDown_;
    Form1& setup_;
    Form& referenceDialog_;
};

}  // namespace brindle
