#include "warning_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "program_fixture.h"

namespace brindle {
namespace {

// Seconds to the next boundary, the periods being counted from midnight.
std::int64_t RemainingAt(std::int64_t second, int intervalMinutes) {
    const std::int64_t period = intervalMinutes * 60LL;
    return period - (second % 86'400) % period;
}

enum class Restart { No, Yes };
struct Step {
    std::int64_t at;  // seconds from noon, a boundary of every interval here
    Restart restart = Restart::No;
    AlertState alert = AlertState::Idle;
};
struct Case {
    const char* name;
    const char* lead;
    int interval;
    std::vector<Step> steps;
    const char* expected;  // 'W' where the warning sounds
};

TEST(WarningRule, WarnsOnceForEachBoundaryAtTheFirstTickInsideTheLead) {
    constexpr Restart R = Restart::Yes;
    constexpr AlertState S = AlertState::Sounding;
    const std::vector<Case> cases = {
        {"lead of one second", "1", 15, {{-2}, {-1}, {0}}, ".W."},
        {"late tick across the boundary", "20", 15, {{-21}, {2}, {879}, {880}}, "...W"},
        {"same second ticked again", "20", 15, {{-21}, {-20}, {-20}, {-19}}, ".W.."},
        {"first tick at the moment", "20", 15, {{-20}, {-19}}, "W."},
        {"first tick inside the lead waits", "20", 15, {{-15}, {-10}, {880}}, "..W"},
        {"restart just before the moment", "20", 15, {{-30}, {-21, R}, {-20}}, "..W"},
        {"lead of a whole period", "60", 1, {{-121}, {-120}, {-61}, {-60}, {-1}, {0}}, ".W.W.W"},
        {"period above an hour", "20", 120, {{-7221}, {-7220}, {-3621}, {-3620}}, ".W.."},
        {"clock back in the period", "20", 15, {{-25}, {-20}, {-40}, {-21}, {-20}}, ".W..."},
        {"clock forward past the boundary", "20", 15, {{-300}, {10}, {880}}, "..W"},
        {"due while sounding, warned after",
         "20",
         15,
         {{-21}, {-20}, {880, {}, S}, {881}, {882}},
         ".W.W."},
        {"due while sounding, passed",
         "20",
         15,
         {{-21}, {-20}, {880, {}, S}, {905}, {1780}},
         ".W..W"},
        {"due while sounding, restarted", "20", 15, {{-21}, {-20}, {880, {}, S}, {881, R}}, ".W.."},
    };
    for (const Case& c : cases) {
        WarningSchedule schedule;
        std::string warned;
        for (const Step& step : c.steps) {
            if (step.restart == Restart::Yes) {
                schedule.Restart();
            }
            const std::int64_t second = 46'000LL * 86'400 + 12 * 3'600 + step.at;
            warned += schedule.IsDue(DateTime{second / 86'400.0},
                                     static_cast<std::int32_t>(RemainingAt(second, c.interval)),
                                     c.lead, step.alert)
                          ? 'W'
                          : '.';
        }
        EXPECT_EQ(warned, c.expected) << c.name;
    }
    for (const char* lead : {"020", " 20", "20 ", "+20", "20.0", "0", "-20", "", "99999999999"}) {
        EXPECT_EQ(WarningSchedule::LeadSeconds(lead), std::nullopt) << '"' << lead << '"';
    }
    EXPECT_EQ(WarningSchedule::LeadSeconds("60"), 60);
}

// Two days of a display timer as a busy desktop delivers it: every 250 ms give or take 100 ms,
// now and then up to 3 s late, and ticks arriving during the alert's pauses. Each boundary whose
// lead began after the first tick is warned exactly once, by the first tick at or after the start
// of its lead, which lies before the boundary.
TEST(WarningRule, TheCountdownWindowWarnsEveryBoundaryOnceOverTwoJitteredDays) {
    constexpr int kLead = 60;
    constexpr int kInterval = 7;
    ProgramFixture f;
    std::mt19937_64 random(20'261'207);
    f.countDown.alert().SetText(std::to_string(kLead));
    f.setup.Combo1().AcceptTypedText(std::to_string(kInterval));
    f.countDown.cmdStartTimer().SetValue(true);
    std::vector<std::int64_t> ticks;
    std::map<std::int64_t, std::vector<std::int64_t>> warned;  // boundary: warning ticks
    const auto fire = [&] {
        const std::int64_t t = f.clock.Milliseconds() / 1'000;
        const std::size_t sounds = f.SoundsPlayed();
        ticks.push_back(t);
        f.windows.FireTimer(f.countDown, "tmrDisplayTime");
        if (f.SoundsPlayed() > sounds) {
            warned[t + RemainingAt(t, kInterval)].push_back(t);
        }
    };
    const std::int64_t start = f.clock.Milliseconds();
    std::int64_t next = start;
    const auto gap = [&] {
        next += random() % 40 ? 150 + random() % 201 : 1'000 + random() % 2'001;
    };
    f.os.onSleep = [&](std::int32_t) {
        for (; next <= f.clock.Milliseconds(); gap()) {
            f.windows.Post(fire);
        }
    };
    for (gap(); next < start + 48 * 3'600'000LL; gap()) {
        f.clock.Advance(std::max<std::int64_t>(0, next - f.clock.Milliseconds()));
        fire();
        f.os.Clear();
    }
    std::map<std::int64_t, std::vector<std::int64_t>> expected;
    int late = 0;
    for (std::int64_t boundary = ticks.front() + kLead; boundary <= ticks.back() + kLead;
         ++boundary) {
        const auto first = std::lower_bound(ticks.begin(), ticks.end(), boundary - kLead);
        if (RemainingAt(boundary - 1, kInterval) == 1 && first != ticks.end() &&
            *first < boundary) {
            expected[boundary] = {*first};
            late += *first > boundary - kLead ? 1 : 0;
        }
    }
    EXPECT_GE(expected.size(), 46u * 60 / kInterval);
    EXPECT_EQ(warned, expected);
    EXPECT_GT(late, 0) << "no late tick skipped a warning moment: the hard case went untried";
}

}  // namespace
}  // namespace brindle
