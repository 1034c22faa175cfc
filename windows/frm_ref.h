#pragma once

#include "frm_count_down.h"
#include "runtime/form.h"

namespace brindle {

// The reference-time dialog: a date-time picker and "Ok", which restarts the countdown from the
// picked time of day. The picker's value lives only as long as the dialog is loaded; the
// countdown keeps its own copy.
class frmRef final : public ReferenceForm {
public:
    frmRef(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown);

    DatePicker& DTPicker1() override { return Get<DatePicker>("DTPicker1"); }
    CommandButton& Command1() { return Get<CommandButton>("Command1"); }

private:
    void BindControls() override;
    void Command1_Click();

    frmCountDown& countDown_;
};

}  // namespace brindle
