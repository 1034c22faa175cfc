#include "frm_ref.h"

#include "log_in_start.h"

namespace brindle {

frmRef::frmRef(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown)
    : ReferenceForm(runtime, layout), countDown_(countDown) {}

void frmRef::BindControls() {
    Command1().OnClick([this] { Command1_Click(); });
}

void frmRef::Command1_Click() {
    countDown_.cmdStopTimer().SetValue(true);
    countDown_.cmdStartTimer().SetValue(true);
    Unload();
    KeepLogInStart(countDown_);
}

}  // namespace brindle
