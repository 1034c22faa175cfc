#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "program_fixture.h"
#include "warning_schedule.h"

namespace brindle {
namespace {

constexpr std::int64_t kHourMs = 3'600'000;
constexpr std::int64_t kSimulatedMs = 48 * kHourMs;

// A display timer as a busy desktop delivers it: every 250 ms give or take 100 ms, and now and
// then a tick up to 3 s late.
class JitteredTicks {
public:
    explicit JitteredTicks(std::uint64_t seed) : random_(seed) {}

    std::int64_t NextGap() {
        if (std::uniform_int_distribution<int>(0, 39)(random_) == 0) {
            return std::uniform_int_distribution<std::int64_t>(1'000, 3'000)(random_);
        }
        return std::uniform_int_distribution<std::int64_t>(150, 350)(random_);
    }

private:
    std::mt19937_64 random_;
};

// Every tick's second and which ticks sounded the warning, in the order the ticks began.
struct TickRecord {
    std::vector<std::int64_t> seconds;
    std::vector<std::size_t> warnings;
};

// Seconds to the next boundary, the day being cut into periods counted from midnight.
std::int64_t RemainingAt(std::int64_t second, int intervalMinutes) {
    const std::int64_t period = intervalMinutes * 60LL;
    return period - (second % 86'400) % period;
}

struct Verdict {
    std::vector<std::string> problems;
    // Warnings given after a late tick had skipped the exact second, so later than the lead.
    int lateWarnings = 0;
};

// Checks the warnings against the rule in its plain words: each boundary whose lead time began
// after the first tick is warned exactly once, by the first tick at or after the start of its
// lead time, which lies before the boundary; no other tick warns. Seconds are counted from the
// simulation's epoch.
Verdict CheckWarnings(const TickRecord& record, int lead, int intervalMinutes) {
    Verdict verdict;
    const std::vector<std::int64_t>& ticks = record.seconds;
    // The boundaries the countdown approaches, each with the tick that must warn for it.
    std::map<std::int64_t, std::size_t> expected;
    for (std::int64_t second = ticks.front(); second <= ticks.back(); ++second) {
        const std::int64_t remaining = RemainingAt(second, intervalMinutes);
        const std::int64_t boundary = second + remaining;
        const auto first = std::lower_bound(ticks.begin(), ticks.end(), boundary - lead);
        if (remaining <= lead && boundary - lead >= ticks.front() && first != ticks.end() &&
            *first < boundary) {
            expected[boundary] = static_cast<std::size_t>(first - ticks.begin());
        }
    }
    std::map<std::int64_t, std::vector<std::size_t>> actual;
    for (std::size_t index : record.warnings) {
        actual[ticks[index] + RemainingAt(ticks[index], intervalMinutes)].push_back(index);
    }
    for (const auto& [boundary, tick] : expected) {
        const std::vector<std::size_t> warned =
            actual.count(boundary) ? actual[boundary] : std::vector<std::size_t>{};
        if (warned != std::vector<std::size_t>{tick}) {
            verdict.problems.push_back("boundary at second " + std::to_string(boundary) +
                                       " was warned " + std::to_string(warned.size()) +
                                       " times, not once at second " + std::to_string(ticks[tick]));
        } else if (ticks[tick] > boundary - lead) {
            ++verdict.lateWarnings;
        }
    }
    for (const auto& [boundary, warned] : actual) {
        if (expected.count(boundary) == 0) {
            verdict.problems.push_back("warning at second " + std::to_string(ticks[warned[0]]) +
                                       " for a boundary that needed none");
        }
    }
    // Two days hold about 48 h / interval boundaries; a few fewer where a period that does not
    // divide the day is cut short at midnight.
    if (expected.size() < 46 * 60 / static_cast<std::size_t>(intervalMinutes)) {
        verdict.problems.push_back("only " + std::to_string(expected.size()) + " boundaries");
    }
    verdict.problems.resize(std::min<std::size_t>(verdict.problems.size(), 5));
    return verdict;
}

void ExpectEveryBoundaryWarnedOnce(const TickRecord& record, int lead, int interval,
                                   std::uint64_t seed) {
    const Verdict verdict = CheckWarnings(record, lead, interval);
    EXPECT_EQ(verdict.problems, std::vector<std::string>{}) << "seed " << seed;
    // Without a late tick inside some lead time the run would not have tried the harder case.
    EXPECT_GT(verdict.lateWarnings, 0) << "no late tick skipped a warning moment; seed " << seed;
}

using Combination = std::tuple<int, int>;  // lead seconds, interval minutes

std::uint64_t SeedFor(int lead, int interval) {
    return 20'261'207ULL * 1'000 + static_cast<std::uint64_t>(lead * 100 + interval);
}

std::string NameOf(const ::testing::TestParamInfo<Combination>& info) {
    return "Lead" + std::to_string(std::get<0>(info.param)) + "Interval" +
           std::to_string(std::get<1>(info.param));
}

// The warning rule alone, fed with the same jittered ticks for two days; a warning takes the
// alert's fourteen pauses of 200 ms, during which ticks keep arriving.
class WarningScheduleOverTwoDays : public ::testing::TestWithParam<Combination> {};

TEST_P(WarningScheduleOverTwoDays, WarnsEveryBoundaryOnceBeforeItArrives) {
    const auto [lead, interval] = GetParam();
    const std::uint64_t seed = SeedFor(lead, interval);
    const std::string leadText = std::to_string(lead);
    JitteredTicks timer(seed);
    WarningSchedule schedule;
    TickRecord record;

    const std::int64_t start = 46'000LL * 86'400'000 + 10 * kHourMs;
    std::int64_t now = start;
    std::int64_t nextTick = start + timer.NextGap();
    bool alerting = false;
    const auto deliver = [&](auto& self) -> void {
        const std::int64_t second = now / 1'000;
        record.seconds.push_back(second);
        const bool due =
            schedule.IsDue(DateTime{static_cast<double>(second) / 86'400.0},
                           static_cast<std::int32_t>(RemainingAt(second, interval)), leadText,
                           alerting ? AlertState::Sounding : AlertState::Idle);
        if (!due) {
            return;
        }
        record.warnings.push_back(record.seconds.size() - 1);
        alerting = true;
        for (int pause = 0; pause < frmCountDown::kAlertPauses; ++pause) {
            now += frmCountDown::kPauseMilliseconds;
            while (nextTick <= now) {
                nextTick += timer.NextGap();
                self(self);
            }
        }
        alerting = false;
    };
    while (nextTick < start + kSimulatedMs) {
        now = std::max(now, nextTick);
        nextTick += timer.NextGap();
        deliver(deliver);
    }

    ExpectEveryBoundaryWarnedOnce(record, lead, interval, seed);
}

INSTANTIATE_TEST_SUITE_P(AllLeadsAndIntervals, WarningScheduleOverTwoDays,
                         ::testing::Combine(::testing::Values(20, 30, 40, 50, 60),
                                            ::testing::Values(1, 7, 15, 45, 60)),
                         NameOf);

// The same two days through the whole countdown window on the fakes: the real display timer
// handler, the real alert with its pauses taking fake time, and ticks delivered during the
// pauses by the window system's event processing.
class CountDownWindowOverTwoDays : public ::testing::TestWithParam<Combination>,
                                   public ProgramFixture {
protected:
    TickRecord record;
    std::vector<std::size_t> runningTicks;

    void FireTick() {
        record.seconds.push_back(clock.Milliseconds() / 1'000);
        runningTicks.push_back(record.seconds.size() - 1);
        windows.FireTimer(program.frmCountDown, "tmrDisplayTime");
        runningTicks.pop_back();
    }
};

TEST_P(CountDownWindowOverTwoDays, WarnsEveryBoundaryOnceBeforeItArrives) {
    const auto [lead, interval] = GetParam();
    const std::uint64_t seed = SeedFor(lead, interval);
    JitteredTicks timer(seed);

    program.frmCountDown.alert().SetText(std::to_string(lead));
    program.Form1.Combo1().AcceptTypedText(std::to_string(interval));
    program.frmCountDown.cmdStartTimer().SetValue(true);
    os.onCall = [this](const DeclaredCall& call) {
        if (call.function == "PlaySoundA") {
            record.warnings.push_back(runningTicks.back());
        }
    };
    std::int64_t nextTick = clock.Milliseconds() + timer.NextGap();
    os.onSleep = [&](std::int32_t) {
        while (nextTick <= clock.Milliseconds()) {
            nextTick += timer.NextGap();
            windows.Post([this] { FireTick(); });
        }
    };

    const std::int64_t end = clock.Milliseconds() + kSimulatedMs;
    while (nextTick < end) {
        clock.Advance(std::max<std::int64_t>(0, nextTick - clock.Milliseconds()));
        nextTick += timer.NextGap();
        FireTick();
        // Only the counts matter here; the records would otherwise grow by the million.
        windows.updates.clear();
        os.calls.clear();
    }

    ExpectEveryBoundaryWarnedOnce(record, lead, interval, seed);
    EXPECT_TRUE(program.frmCountDown.IsVisible());
}

// The full window costs far more per tick than the rule alone (about a second per run here,
// several under the sanitizers), so it runs two cases and the rule alone runs every combination
// above: the longest lead with the shortest interval, where every second lies inside some lead
// time, and a period that does not divide the day, so the countdown's own arithmetic cuts the
// last period short at each of the two midnights.
INSTANTIATE_TEST_SUITE_P(Hardest, CountDownWindowOverTwoDays,
                         ::testing::Values(Combination{60, 1}, Combination{40, 7}), NameOf);

}  // namespace
}  // namespace brindle
