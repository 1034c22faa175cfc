#include "frm_count_down.h"

#include "countdown_arithmetic.h"
#include "quiet.h"
#include "runtime/caption_drag.h"
#include "runtime/runtime.h"
#include "value/numbers.h"

namespace brindle {

namespace {

constexpr Colour kYellow = 0x0000FFFF;
constexpr Colour kNormalBlue = 0x00FF8000;
constexpr Colour kSilver = 0x00C0C0C0;
constexpr Colour kBlack = 0x00000000;
constexpr Colour kLightYellow = 0x0080FFFF;

}  // namespace

frmCountDown::frmCountDown(Runtime& runtime, const WindowLayout& layout, IntervalSetupForm& setup,
                           MenuCarrierForm& menuCarrier, ReferenceForm& referenceDialog)
    : TopMostForm(runtime, layout),
      setup_(setup),
      menuCarrier_(menuCarrier),
      referenceDialog_(referenceDialog) {}

void frmCountDown::BindControls() {
    cmdAlert().OnClick([this] { cmdAlert_Click(); });
    Colors().OnClick([this] { Colors_Click(); });
    dColors().OnClick([this] { dColors_Click(); });
    cmdStartTimer().OnClick([this] { cmdStartTimer_Click(); });
    cmdStopTimer().OnClick([this] { cmdStopTimer_Click(); });
    Label1().OnMouseDown([this](MouseButton button, std::int16_t shift, float x, float y) {
        Label1_MouseDown(button, shift, x, y);
    });
    lblCountDown().OnMouseDown([this](MouseButton button, std::int16_t shift, float x, float y) {
        lblCountDown_MouseDown(button, shift, x, y);
    });
    tmrDisplayTime().OnTimer([this] { tmrDisplayTime_Timer(); });
}

void frmCountDown::Form_Load() {
    // A fresh load is a fresh countdown window: nothing warned yet.
    warnings_ = WarningSchedule{};
    Colors().SetValue(true);
    TopMost(TopMostState::TopMost);
}

void frmCountDown::Form_Unload() {
    // Closing the countdown window closes every other window of the program.
    menuCarrier_.Unload();
    referenceDialog_.Unload();
    setup_.Unload();
}

void frmCountDown::StartTimer(std::int16_t period) {
    tmrDisplayTime().SetEnabled(false);
    IntervalMinutes = period;
    ReferenceTime = referenceDialog_.DTPicker1().Value();
    warnings_.Restart();
    tmrDisplayTime().SetEnabled(true);
}

void frmCountDown::StopTimer() {
    tmrDisplayTime().SetEnabled(false);
}

void frmCountDown::cmdStartTimer_Click() {
    const std::string text = setup_.Combo1().Text();
    std::int16_t period = 0;
    try {
        period = RoundToInt16(NumericValue(text));
    } catch (const OverflowError&) {
        // A number beyond 16 bits starts nothing; a running countdown goes on unchanged.
        return;
    }
    StartTimer(period);
}

void frmCountDown::cmdStopTimer_Click() {
    StopTimer();
}

void frmCountDown::tmrDisplayTime_Timer() {
    const DateTime now = GetRuntime().GetClock().Now();
    const std::optional<std::int32_t> remaining =
        RemainingSeconds(now, ReferenceTime, IntervalMinutes);
    if (!remaining) {
        lblCountDown().SetCaption(kNoPeriodDisplay);
        return;
    }
    lblCountDown().SetCaption(FormatRemaining(*remaining));
    const AlertState state = alertingLoad_ == LoadCount() ? AlertState::Sounding : AlertState::Idle;
    if (warnings_.IsDue(now, *remaining, alert().Text(), state)) {
        cmdAlert().SetValue(true);
    }
}

bool frmCountDown::AlertPause(std::uint64_t load) {
    GetRuntime().GetOsFunctions().Sleep(kPauseMilliseconds);
    GetRuntime().DoEvents();
    return IsLoaded() && LoadCount() == load;
}

void frmCountDown::cmdAlert_Click() {
    const std::uint64_t load = LoadCount();
    if (alertingLoad_ == load) {
        return;
    }
    // Restored on the way out, also when an alert of an earlier load is still paused below us.
    const std::optional<std::uint64_t> outer = alertingLoad_;
    alertingLoad_ = load;
    struct Restore {
        std::optional<std::uint64_t>& slot;
        std::optional<std::uint64_t> value;
        ~Restore() { slot = value; }
    } restore{alertingLoad_, outer};

    SoundFile = "S_Timer.wav";
    PlayChime();
    dColors().SetValue(true);
    // The schemes alternate after every pause but the last, which holds the normal colours. Once
    // the window is unloaded under a pause the alert ends: touching a control would load the
    // window again.
    for (int pause = 1; pause <= kAlertPauses; ++pause) {
        if (!AlertPause(load)) {
            return;
        }
        if (pause == kAlertPauses) {
            break;
        }
        (pause % 2 == 1 ? Colors() : dColors()).SetValue(true);
    }
}

void frmCountDown::PlayChime() {
    OsFunctions& os = GetRuntime().GetOsFunctions();
    auto play = [&os, file = SoundFile] {
        os.PlaySoundA(file, 0, kPlayFileName | kPlayNoDefault | kPlayAsync);
    };
    Desktop& desktop = GetRuntime().GetDesktop();
    if (SavedQuiet(desktop) == Quiet::Off) {
        play();
        return;
    }
    // The busy check answers while the flash runs, so it never delays it; a held chime is not
    // played later.
    desktop.WhenBusyKnown([play](BusyReasons reasons) {
        if (!reasons.Any()) {
            play();
        }
    });
}

void frmCountDown::Colors_Click() {
    lblCountDown().SetForeColor(kYellow);
    lblCountDown().SetBackColor(kNormalBlue);
    Label1().SetForeColor(kNormalBlue);
    Label1().SetBackColor(kSilver);
}

void frmCountDown::dColors_Click() {
    lblCountDown().SetBackColor(kBlack);
    lblCountDown().SetForeColor(kLightYellow);
    Label1().SetBackColor(kBlack);
    Label1().SetForeColor(kLightYellow);
}

void frmCountDown::Label1_MouseDown(MouseButton button, std::int16_t, float, float) {
    LabelMouseDown(*this, button, menuCarrier_);
}

void frmCountDown::lblCountDown_MouseDown(MouseButton button, std::int16_t, float, float) {
    LabelMouseDown(*this, button, menuCarrier_);
}

}  // namespace brindle
