#include "frm_menu.h"

#include "log_in_start.h"
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
    mnuLogIn().OnClick([this] { mnuLogIn_Click(); });
    mnuMenu().OnClick([this] { mnuMenu_Click(); });
}

// The marks are read afresh each time the menu opens: the log-in entry may have been written or
// removed by hand since.
void frmMenu::mnuMenu_Click() {
    Desktop& desktop = GetRuntime().GetDesktop();
    mnuQuiet().SetCheck(SavedQuiet(desktop) == Quiet::WhenBusy ? MenuCheck::Checked
                                                               : MenuCheck::Unchecked);
    mnuLogIn().SetCheck(desktop.StartsAtLogIn() ? MenuCheck::Checked : MenuCheck::Unchecked);
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

// The marks stay as the menu opened with them: the next opening reads what was saved, so a mark
// never shows a choice that the next start would not keep.
void frmMenu::mnuQuiet_Click() {
    const bool quiet = mnuQuiet().Check() != MenuCheck::Checked;
    if (const auto error = GetRuntime().GetDesktop().WriteFlag(kQuietWhenBusySetting, quiet)) {
        GetRuntime().GetWindowSystem().MsgBox("Quiet When Busy could not be saved in " +
                                              error->where + ": " + error->reason);
    }
}

void frmMenu::mnuLogIn_Click() {
    if (mnuLogIn().Check() != MenuCheck::Checked) {
        WriteLogInStart(countDown_);
        return;
    }
    Runtime& runtime = GetRuntime();
    if (const auto error = runtime.GetDesktop().RemoveLogInStart()) {
        runtime.GetWindowSystem().MsgBox("Start at Log-in could not be removed from " +
                                         error->where + ": " + error->reason);
    }
}

}  // namespace brindle
