#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frm_count_down.h"

namespace brindle {

// A rhythm as the command line starts it: minutes of the interval, the lead's text in seconds and
// the reference time of day.
struct Rhythm {
    std::int16_t intervalMinutes = 0;
    std::string lead;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The rhythm the countdown is counting, if it counts one the command line can start: a loaded
// countdown whose timer runs an interval of 1 to 60 minutes.
std::optional<Rhythm> CountingRhythm(frmCountDown& countDown);
// The options that start the rhythm again; none start the idle first screen.
std::vector<std::string> RhythmOptions(const std::optional<Rhythm>& rhythm);
// The rhythm in a person's words, for the log-in entry's comment.
std::string RhythmInWords(const std::optional<Rhythm>& rhythm);

// Writes the log-in entry for what the countdown counts; on failure tells the person in a message
// box.
void WriteLogInStart(frmCountDown& countDown);
// Rewrites the log-in entry for a new rhythm, if the program starts at log-in.
void KeepLogInStart(frmCountDown& countDown);

}  // namespace brindle
