#pragma once

#include "form1.h"
#include "frm_count_down.h"
#include "runtime/caption_drag.h"

namespace brindle {

// The window that is never shown and only carries the context menu. Its three commands move
// between the other windows; its check items show and change the person's choices of quiet and
// of a start at log-in, which the desktop keeps, not this window.
class frmMenu final : public MenuCarrierForm {
public:
    frmMenu(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown, Form1& setup,
            Form& referenceDialog);

    MenuItem& mnuMenu() override { return Get<MenuItem>("mnuMenu"); }

private:
    void BindControls() override;

    MenuItem& mnuQuiet() { return Get<MenuItem>("mnuQuiet"); }
    MenuItem& mnuLogIn() { return Get<MenuItem>("mnuLogIn"); }

    void mnuCT_Click();
    void mnuReferance_Click();
    void mnuExit_Click();
    void mnuQuiet_Click();
    void mnuLogIn_Click();
    void mnuMenu_Click();

    frmCountDown& countDown_;
    Form1& setup_;
    Form& referenceDialog_;
};

}  // namespace brindle
