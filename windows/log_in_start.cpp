#include "log_in_start.h"

#include <cstdio>

#include "runtime/runtime.h"
#include "value/numbers.h"

namespace brindle {

namespace {

std::string TwoDigits(int n) {
    char text[4];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// HH:MM, with :SS only when the reference has seconds, as a person would write it.
std::string ReferenceText(const Rhythm& rhythm) {
    std::string text = TwoDigits(rhythm.hour) + ":" + TwoDigits(rhythm.minute);
    return rhythm.second == 0 ? text : text + ":" + TwoDigits(rhythm.second);
}

}  // namespace

std::optional<Rhythm> CountingRhythm(frmCountDown& countDown) {
    // A countdown that is not loaded is not counting, and reading it would load it.
    if (!countDown.IsLoaded() || !countDown.tmrDisplayTime().Enabled() ||
        countDown.IntervalMinutes < 1 || countDown.IntervalMinutes > 60) {
        return std::nullopt;
    }
    const CivilDateTime reference = ToCivil(countDown.ReferenceTime);
    return Rhythm{countDown.IntervalMinutes, countDown.alert().Text(), reference.hour,
                  reference.minute, reference.second};
}

std::vector<std::string> RhythmOptions(const std::optional<Rhythm>& rhythm) {
    if (!rhythm) {
        return {};
    }
    return {"--reference", ReferenceText(*rhythm), "--lead",
            rhythm->lead,  "--interval",           IntegerText(rhythm->intervalMinutes)};
}

std::string RhythmInWords(const std::optional<Rhythm>& rhythm) {
    if (!rhythm) {
        return "Opens Brindle's first screen";
    }
    const std::string period = rhythm->intervalMinutes == 1
                                   ? "Every minute"
                                   : "Every " + IntegerText(rhythm->intervalMinutes) + " minutes";
    return period + " from " + ReferenceText(*rhythm) + ", warned " + rhythm->lead +
           " seconds ahead";
}

void WriteLogInStart(frmCountDown& countDown) {
    const std::optional<Rhythm> rhythm = CountingRhythm(countDown);
    Runtime& runtime = countDown.GetRuntime();
    if (const auto error =
            runtime.GetDesktop().WriteLogInStart(RhythmOptions(rhythm), RhythmInWords(rhythm))) {
        runtime.GetWindowSystem().MsgBox("Start at Log-in could not be saved in " + error->where +
                                         ": " + error->reason);
    }
}

void KeepLogInStart(frmCountDown& countDown) {
    if (countDown.GetRuntime().GetDesktop().StartsAtLogIn()) {
        WriteLogInStart(countDown);
    }
}

}  // namespace brindle
