#include "value/date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace brindle {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// Days from 1970-01-01 back to the date-time epoch, 1899-12-30.
constexpr std::int64_t kEpochOffset = -25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil-days algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

// The widest span of days either side of the epoch that is taken apart, about 2.7 million years.
// Values beyond it are clamped to it so the second count and the calendar arithmetic stay well
// inside 64-bit integers and the year inside an int; the program only uses the years 100 to 9999.
constexpr double kMaxDays = 1e9;

// Brings a date-time to the nearest whole second. Arithmetic on days leaves values a hair beside
// a whole second in either direction; rounding (not truncating) the count of seconds absorbs it.
std::int64_t WholeSeconds(DateTime value) {
    // A value that is not a number names no time at all; it reads as the epoch instead of being
    // handed to llround, whose result for it is unspecified.
    if (std::isnan(value.days)) {
        return 0;
    }
    const double days = std::clamp(value.days, -kMaxDays, kMaxDays);
    return static_cast<std::int64_t>(std::llround(days * kSecondsPerDay));
}

std::string TwoDigits(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
        kEpochOffset;
    const double seconds = hour * 3600.0 + minute * 60.0 + second;
    return {static_cast<double>(days) + seconds / kSecondsPerDay};
}

CivilDateTime ToCivil(DateTime value) {
    const std::int64_t total = WholeSeconds(value);
    std::int64_t days = total / 86400;
    std::int64_t seconds = total % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    CivilDateTime civil;
    CivilFromDays(days + kEpochOffset, civil.year, civil.month, civil.day);
    civil.hour = static_cast<int>(seconds / 3600);
    civil.minute = static_cast<int>(seconds / 60 % 60);
    civil.second = static_cast<int>(seconds % 60);
    return civil;
}

DateTime DateAdd(DateUnit unit, double count, DateTime value) {
    const double seconds = unit == DateUnit::Minute ? count * 60.0 : count;
    return {value.days + seconds / kSecondsPerDay};
}

std::string FormatDateTime(DateTime value, DatePattern pattern) {
    const CivilDateTime civil = ToCivil(value);
    switch (pattern) {
        case DatePattern::Hour:
            return TwoDigits(civil.hour);
        case DatePattern::Minute:
            return TwoDigits(civil.minute);
        case DatePattern::Second:
            return TwoDigits(civil.second);
        case DatePattern::MinuteSecond:
            return TwoDigits(civil.minute) + ":" + TwoDigits(civil.second);
    }
    return {};
}

}  // namespace brindle
