#pragma once

#include <string>

namespace brindle {

// A point in time as the program's logic sees it: days since 30 December 1899 00:00, with the
// time of day as the fraction. Differences of two date-times are date-times too, which is how
// the countdown formats the time left.
struct DateTime {
    double days = 0.0;

    friend DateTime operator-(DateTime a, DateTime b) { return {a.days - b.days}; }
    friend bool operator==(DateTime a, DateTime b) = default;
};

enum class DateUnit { Minute, Second };

// The parts of a date-time after it has been brought to the nearest whole second.
struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

enum class DatePattern {
    Hour,          // "HH": 00 to 23
    Minute,        // "nn": 00 to 59
    Second,        // "SS": 00 to 59
    MinuteSecond,  // "nn:ss": the minute and second of the time of day; hours are dropped
};

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second);

// The parts of a value in the proleptic Gregorian calendar. A value that is not a number reads as
// the epoch, 30 December 1899 00:00:00, and one more than 11 million days (about 30,000 years)
// from it, either infinity included, is clamped to that distance, so no input can make the
// calendar arithmetic overflow.
CivilDateTime ToCivil(DateTime value);

// Moves a date-time by count units (possibly negative), crossing midnight as needed.
DateTime DateAdd(DateUnit unit, double count, DateTime value);

// Formats the time of day of a value, first brought to the nearest whole second, so that a
// difference standing for 60 s with floating-point error either way shows as 01:00.
std::string FormatDateTime(DateTime value, DatePattern pattern);

}  // namespace brindle
