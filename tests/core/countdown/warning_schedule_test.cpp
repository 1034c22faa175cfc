#include "warning_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brindle {
namespace {

// Noon of a fixed day; noon is a period boundary for every interval that divides 12 hours.
constexpr std::int64_t kNoon = 46'000LL * 86'400 + 12 * 3'600;

enum class Restart { No, Yes };

// One tick, in seconds from noon, optionally right after the countdown was started again.
struct Step {
    std::int64_t at;
    Restart restart = Restart::No;
    AlertState alert = AlertState::Idle;
};

struct ScheduleCase {
    const char* name;
    const char* lead;
    int intervalMinutes;
    std::vector<Step> steps;
    // One character per step: 'W' where the warning sounds, '.' where it does not.
    const char* expected;
};

// Seconds to the next boundary, the periods being counted from midnight.
std::int32_t RemainingAt(std::int64_t second, int intervalMinutes) {
    const std::int64_t period = intervalMinutes * 60LL;
    return static_cast<std::int32_t>(period - (second % 86'400) % period);
}

std::string WarningsOf(const ScheduleCase& row) {
    WarningSchedule schedule;
    std::string result;
    for (const Step& step : row.steps) {
        if (step.restart == Restart::Yes) {
            schedule.Restart();
        }
        const std::int64_t second = kNoon + step.at;
        const DateTime now{static_cast<double>(second) / 86'400.0};
        const bool due =
            schedule.IsDue(now, RemainingAt(second, row.intervalMinutes), row.lead, step.alert);
        result += due ? 'W' : '.';
    }
    return result;
}

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const ScheduleCase& row, std::ostream* out) {
    *out << row.name;
}

class WarningScheduleTable : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(WarningScheduleTable, WarnsOnExactlyTheExpectedTicks) {
    EXPECT_EQ(WarningsOf(GetParam()), GetParam().expected);
}

const ScheduleCase kCases[] = {
    {"ExactMoment", "20", 15, {{-22}, {-21}, {-20}, {-19}, {-1}, {0}}, "..W..."},
    {"LeadOfOneSecond", "1", 15, {{-2}, {-1}, {0}}, ".W."},
    {"LateTickInsideLeadStillWarns", "20", 15, {{-25}, {-15}, {-14}}, ".W."},
    {"LateTickAcrossBoundaryMissesItButNotTheNext", "20", 15, {{-21}, {2}, {879}, {880}}, "...W"},
    {"RepeatedTicksInSameSecondWarnOnce", "20", 15, {{-21}, {-20}, {-20}, {-20}, {-19}}, ".W..."},
    {"FirstTickAtExactMomentWarns", "20", 15, {{-20}, {-19}}, "W."},
    {"FirstTickInsideLeadWaitsForNextBoundary", "20", 15, {{-15}, {-10}, {880}}, "..W"},
    {"RestartInsideLeadWarnsOnlyOnExactMatch",
     "20",
     15,
     {{-25}, {-15, Restart::Yes}, {-14}, {880, Restart::Yes}},
     "...W"},
    {"RestartJustBeforeExactMomentWarns", "20", 15, {{-30}, {-21, Restart::Yes}, {-20}}, "..W"},
    {"LeadOfSixtyWithOneMinuteWarnsAtEveryFullPeriod",
     "60",
     1,
     {{-125}, {-121}, {-120}, {-119}, {-61}, {-60}, {-59}, {-1}, {0}, {1}},
     "..W..W..W."},
    {"IntervalAboveAnHourWarnsOncePerPeriod",
     "20",
     120,
     {{-7'221}, {-7'220}, {-7'219}, {-3'621}, {-3'620}, {-3'619}, {-21}, {-20}, {-19}},
     ".W.....W."},
    {"ClockBackWithinPeriodDoesNotWarnSameBoundaryAgain",
     "20",
     15,
     {{-25}, {-20}, {-10}, {-40}, {-30}, {-21}, {-20}, {-15}},
     ".W......"},
    {"ClockForwardWithinPeriodStillWarns", "20", 15, {{-300}, {-10}, {-9}}, ".W."},
    {"ClockForwardPastBoundaryMissesIt", "20", 15, {{-300}, {10}, {880}}, "..W"},
    {"BoundaryDueWhileSoundingWarnsAtTheNextIdleTick",
     "20",
     15,
     {{-21}, {-20}, {880, Restart::No, AlertState::Sounding}, {881}, {882}},
     ".W.W."},
    {"BoundaryDueWhileSoundingIsDroppedOncePassed",
     "20",
     15,
     {{-21}, {-20}, {880, Restart::No, AlertState::Sounding}, {905}, {1779}, {1780}},
     ".W...W"},
    {"RestartForgetsBoundaryDueWhileSounding",
     "20",
     15,
     {{-21}, {-20}, {880, Restart::No, AlertState::Sounding}, {881, Restart::Yes}},
     ".W.."},
};

INSTANTIATE_TEST_SUITE_P(Cases, WarningScheduleTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WarningScheduleLead, OnlyPlainPositiveWholeNumbersCountAndOthersNeverWarn) {
    EXPECT_EQ(WarningSchedule::LeadSeconds("20"), 20);
    EXPECT_EQ(WarningSchedule::LeadSeconds("60"), 60);
    EXPECT_EQ(WarningSchedule::LeadSeconds("1"), 1);
    for (const char* lead : {"020", " 20", "20 ", "+20", "20.0", "2e1", "0", "-20", "", "abc",
                             "99999999999", "Alert Time"}) {
        EXPECT_EQ(WarningSchedule::LeadSeconds(lead), std::nullopt) << '"' << lead << '"';
        WarningSchedule schedule;
        int warnings = 0;
        // Every second of two quarter-hour periods.
        for (std::int64_t at = -900; at <= 900; ++at) {
            const std::int64_t second = kNoon + at;
            warnings += schedule.IsDue(DateTime{static_cast<double>(second) / 86'400.0},
                                       RemainingAt(second, 15), lead, AlertState::Idle)
                            ? 1
                            : 0;
        }
        EXPECT_EQ(warnings, 0) << '"' << lead << '"';
    }
}

TEST(WarningScheduleLead, LeadChangedBetweenTicksAppliesFromTheNextTick) {
    WarningSchedule schedule;
    const auto tick = [&](std::int64_t at, const char* lead) {
        const std::int64_t second = kNoon + at;
        return schedule.IsDue(DateTime{static_cast<double>(second) / 86'400.0},
                              RemainingAt(second, 15), lead, AlertState::Idle);
    };
    EXPECT_FALSE(tick(-41, "20"));
    // Choosing a longer lead while the countdown is between the two leads warns at once.
    EXPECT_TRUE(tick(-39, "40"));
    EXPECT_FALSE(tick(-20, "40"));
}

}  // namespace
}  // namespace brindle
