#include "frm_menu.h"

#include "quiet.h"
#include "runtime/runtime.h"

namespace brindle {

frmMenu::frmMenu(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown,
                 Form1& setup, Form& referenceDialog)
    : MenuCarrierForm(runtime, layout),
      countDown_(countDown),
      setup_(setup),
      referenceDialog_(referenceDialog) {}

void frmMenu::BindControls() {
    Get<MenuItem>("mnuCT").OnClick([this] { mnuCT_Click(); });
    Get<MenuItem>("mnuReferance").OnClick([this] { mnuReferance_Click(); });
    Get<MenuItem>("mnuExit").OnClick([this] { mnuExit_Click(); });
    mnuQuiet().OnClick([this] { mnuQuiet_Click(); });
}

void frmMenu::Form_Load() {
    mnuQuiet().SetCheck(SavedQuiet(GetRuntime().GetDesktop()) == Quiet::WhenBusy
                            ? MenuCheck::Checked
                            : MenuCheck::Unchecked);
}

void frmMenu::mnuCT_Click() {
    // The countdown window's unload closes every other window, this one included; the setup
    // window then comes back fresh.
    countDown_.Unload();
    setup_.Show();
    setup_.Combo1().SetEnabled(true);
    setup_.Combo2().SetEnabled(true);
}

void frmMenu::mnuReferance_Click() {
    referenceDialog_.Show();
}

void frmMenu::mnuExit_Click() {
    setup_.Unload();
    referenceDialog_.Unload();
    Unload();
    countDown_.Unload();
}

void frmMenu::mnuQuiet_Click() {
    const bool quiet = mnuQuiet().Check() != MenuCheck::Checked;
    // The mark changes only once the choice is saved, so it never shows what the next start would
    // not keep.
    if (const auto error = GetRuntime().GetDesktop().WriteFlag(kQuietWhenBusySetting, quiet)) {
        GetRuntime().GetWindowSystem().MsgBox("Quiet When Busy could not be saved in " +
                                              error->where + ": " + error->reason);
        return;
    }
    mnuQuiet().SetCheck(quiet ? MenuCheck::Checked : MenuCheck::Unchecked);
}

}  // namespace brindle
