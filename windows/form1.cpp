#include "form1.h"

#include "log_in_start.h"
#include "runtime/caption_drag.h"
#include "value/numbers.h"

namespace brindle {

Form1::Form1(Runtime& runtime, const WindowLayout& layout, frmCountDown& countDown,
             MenuCarrierForm& menuCarrier, Form& referenceDialog)
    : IntervalSetupForm(runtime, layout),
      countDown_(countDown),
      menuCarrier_(menuCarrier),
      referenceDialog_(referenceDialog) {}

namespace {

std::vector<std::string> NumberTexts(std::int32_t first, std::int32_t last, std::int32_t step) {
    std::vector<std::string> texts;
    for (std::int32_t n = first; n <= last; n += step) {
        texts.push_back(IntegerText(n));
    }
    return texts;
}

}  // namespace

const std::vector<std::string>& Form1::IntervalItems() {
    static const std::vector<std::string> items = NumberTexts(1, 60, 1);
    return items;
}

const std::vector<std::string>& Form1::LeadItems() {
    static const std::vector<std::string> items = NumberTexts(20, 60, 10);
    return items;
}

void Form1::BindControls() {
    Combo1().OnClick([this] { Combo1_Click(); });
    Combo2().OnClick([this] { Combo2_Click(); });
    Get<Label>("Label1").OnMouseDown(
        [this](MouseButton b, std::int16_t s, float x, float y) { Label1_MouseDown(b, s, x, y); });
    Get<Label>("Label2").OnMouseDown(
        [this](MouseButton b, std::int16_t s, float x, float y) { Label2_MouseDown(b, s, x, y); });
    Get<Label>("Label3").OnMouseDown(
        [this](MouseButton b, std::int16_t s, float x, float y) { Label3_MouseDown(b, s, x, y); });
    Get<Label>("Label4").OnMouseDown(
        [this](MouseButton b, std::int16_t s, float x, float y) { Label4_MouseDown(b, s, x, y); });
}

void Form1::Form_Load() {
    TopMost(TopMostState::TopMost);
    for (const std::string& minutes : IntervalItems()) {
        Combo1().AddItem(minutes);
    }
    for (const std::string& seconds : LeadItems()) {
        Combo2().AddItem(seconds);
    }
}

void Form1::Form_Unload() {
    menuCarrier_.Unload();
    referenceDialog_.Unload();
}

void Form1::OnUserClose() {
    const bool countDownHidden = countDown_.IsLoaded() && !countDown_.IsVisible();
    Unload();
    // A hidden countdown window would keep the program running with nothing on screen and no way
    // to reach it, so closing the setup window then ends the program.
    if (countDownHidden) {
        countDown_.Unload();
    }
}

void Form1::Combo1_Click() {
    Combo2().SetEnabled(false);
    countDown_.cmdStartTimer().SetValue(true);
    countDown_.Label1().SetCaption(Combo1().Text() + " Min");
    countDown_.Show();
    Hide();
    KeepLogInStart(countDown_);
}

void Form1::Combo2_Click() {
    countDown_.alert().SetText(Combo2().Text());
    Combo2().SetEnabled(false);
}

void Form1::Label1_MouseDown(MouseButton button, std::int16_t, float, float) {
    LabelMouseDown(*this, button, menuCarrier_);
}

void Form1::Label2_MouseDown(MouseButton button, std::int16_t, float, float) {
    LabelMouseDown(*this, button, menuCarrier_);
}

void Form1::Label3_MouseDown(MouseButton button, std::int16_t, float, float) {
    LabelMouseDown(*this, button, menuCarrier_);
}

void Form1::Label4_MouseDown(MouseButton button, std::int16_t, float, float) {
    LabelMouseDown(*this, button, menuCarrier_);
}

}  // namespace brindle
