#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frm_count_down.h"
#include "runtime/top_most.h"

namespace brindle {

// The setup window: two lists, the interval and the warning lead. It keeps no values of its own;
// picking hands them to the countdown window, which owns the countdown.
class Form1 final : public IntervalSetupForm {
public:
    Form1(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown,
          MenuCarrierForm& menuCarrier, Form& referenceDialog);

    // The items its load puts into the two lists, in list order: the interval in minutes
    // (Combo1) and the warning lead in seconds (Combo2). The command line accepts exactly these.
    static const std::vector<std::string>& IntervalItems();
    static const std::vector<std::string>& LeadItems();

    ComboBox& Combo1() override { return Get<ComboBox>("Combo1"); }
    ComboBox& Combo2() { return Get<ComboBox>("Combo2"); }

private:
    void BindControls() override;
    void Form_Load() override;
    void Form_Unload() override;
    void OnUserClose() override;

    void Combo1_Click();
    void Combo2_Click();
    void Label1_MouseDown(MouseButton button, std::int16_t shift, float x, float y);
    void Label2_MouseDown(MouseButton button, std::int16_t shift, float x, float y);
    void Label3_MouseDown(MouseButton button, std::int16_t shift, float x, float y);
    void Label4_MouseDown(MouseButton button, std::int16_t shift, float x, float y);

    frmCountDown& countDown_;
    MenuCarrierForm& menuCarrier_;
    Form& referenceDialog_;
};

}  // namespace brindle
