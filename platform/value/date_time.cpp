#include "value/date_time.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace brindle {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// The date-time epoch. Day counts are taken apart with the standard calendar; what is ours is
// only this epoch and the fraction as the time of day.
constexpr std::chrono::sys_days kEpoch{std::chrono::year{1899} / std::chrono::December / 30};

// The widest span of days either side of the epoch that is taken apart, about 30,000 years, well
// inside the standard calendar's years (-32,767 to 32,767). Values beyond it are clamped to it;
// the program itself only uses the years 100 to 9999.
constexpr double kMaxDays = 11e6;

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
    const std::chrono::sys_days date{std::chrono::year{year} /
                                     std::chrono::month{static_cast<unsigned>(month)} /
                                     std::chrono::day{static_cast<unsigned>(day)}};
    const auto days = (date - kEpoch).count();
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
    const std::chrono::year_month_day date{kEpoch + std::chrono::days{days}};
    CivilDateTime civil;
    civil.year = static_cast<int>(date.year());
    civil.month = static_cast<int>(static_cast<unsigned>(date.month()));
    civil.day = static_cast<int>(static_cast<unsigned>(date.day()));
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
