#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runtime/caption_drag.h"
#include "runtime/top_most.h"
#include "value/date_time.h"
#include "warning_schedule.h"

namespace brindle {

// The setup window as the countdown window reads it: the list whose text is the interval.
class IntervalSetupForm : public TopMostForm {
public:
    using TopMostForm::TopMostForm;
    virtual ComboBox& Combo1() = 0;
};

// The reference-time dialog as the countdown window reads it: the picker holding the reference.
class ReferenceForm : public Form {
public:
    using Form::Form;
    virtual DatePicker& DTPicker1() = 0;
};

// The countdown window: keeps the interval and reference time, runs the 250 ms timer, shows the
// time left on every tick and sets off the alert. It owns no other window; it reaches the setup
// window, the reference-time dialog and the menu carrier only to read them and to unload them.
class frmCountDown final : public TopMostForm {
public:
    frmCountDown(Runtime& runtime, const WindowLayout& layout, IntervalSetupForm& setup,
                 MenuCarrierForm& menuCarrier, ReferenceForm& referenceDialog);

    std::string SoundFile;
    std::int16_t IntervalMinutes = 0;
    DateTime ReferenceTime;

    void StartTimer(std::int16_t period);
    void StopTimer();

    Label& lblCountDown() { return Get<Label>("lblCountDown"); }
    Label& Label1() { return Get<Label>("Label1"); }
    TextBox& alert() { return Get<TextBox>("alert"); }
    Timer& tmrDisplayTime() { return Get<Timer>("tmrDisplayTime"); }
    CommandButton& cmdStartTimer() { return Get<CommandButton>("cmdStartTimer"); }
    CommandButton& cmdStopTimer() { return Get<CommandButton>("cmdStopTimer"); }
    CommandButton& cmdAlert() { return Get<CommandButton>("cmdAlert"); }
    CommandButton& Colors() { return Get<CommandButton>("Colors"); }
    CommandButton& dColors() { return Get<CommandButton>("dColors"); }

    // Shown instead of the time left when the interval gives no period.
    static constexpr const char* kNoPeriodDisplay = "--:--";
    static constexpr int kAlertPauses = 14;
    static constexpr int kPauseMilliseconds = 200;

private:
    void BindControls() override;
    void Form_Load() override;
    void Form_Unload() override;

    void cmdAlert_Click();
    void Colors_Click();
    void dColors_Click();
    void cmdStartTimer_Click();
    void cmdStopTimer_Click();
    void Label1_MouseDown(MouseButton button, std::int16_t shift, float x, float y);
    void lblCountDown_MouseDown(MouseButton button, std::int16_t shift, float x, float y);
    void tmrDisplayTime_Timer();

    // Sleeps, lets waiting events run, and tells whether the alert may go on: false once this
    // load of the window has been unloaded.
    bool AlertPause(std::uint64_t load);
    // Plays SoundFile at once, or with quiet on once the person is known not to be busy.
    void PlayChime();

    IntervalSetupForm& setup_;
    MenuCarrierForm& menuCarrier_;
    ReferenceForm& referenceDialog_;
    WarningSchedule warnings_;
    // The load whose alert is running, so a tick inside a pause cannot start a second one.
    std::optional<std::uint64_t> alertingLoad_;
};

}  // namespace brindle
