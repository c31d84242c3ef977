#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "support/fake_host.h"
#include "ui/application.h"
#include "ui/timer_schedule.h"

namespace {

// A window with one timer per interval, in that order, each logging when it fires.
class frmTimers : public ui::Form {
public:
    frmTimers() : ui::Form("frmTimers") {}
    void add(int interval, bool enabled = true) {
        timers.push_back(std::make_unique<ui::Timer>(*this, "tmr" + std::to_string(timers.size()), interval, enabled));
        ui::Timer* t = timers.back().get();
        t->Tick = [this, t] { fired.emplace_back(now, t->name()); };
    }
    std::vector<ui::Timer*> all() const {
        std::vector<ui::Timer*> v;
        for (const auto& t : timers) v.push_back(t.get());
        return v;
    }
    std::vector<std::unique_ptr<ui::Timer>> timers;
    std::vector<std::pair<int, std::string>> fired;  // (simulated ms, timer)
    int now = 0;
};

class TimerScheduleTest : public ::testing::Test {
protected:
    TimerScheduleTest() { ui::setApp(&application); }
    // Runs the schedule for the simulated time, a base tick at a time.
    void run(frmTimers& f, ui::TimerSchedule& s, int untilMs) {
        while (s.baseInterval() > 0 && f.now + s.baseInterval() <= untilMs) {
            f.now += s.baseInterval();
            s.tick();
        }
    }
    fakes::FakeHost host;
    ui::Application application{host};
};

const int kTenMinutes = 10 * 60 * 1000;

// What separate timers, all started at 0, would do: each fires at every multiple of its own
// interval, and those due at the same moment fire in the order they were created.
std::vector<std::pair<int, std::string>> Alone(const std::vector<int>& intervals, int untilMs) {
    std::vector<std::pair<int, std::string>> expected;
    for (int t = 1; t <= untilMs; ++t) {
        for (size_t i = 0; i < intervals.size(); ++i) {
            if (t % intervals[i] == 0) expected.emplace_back(t, "tmr" + std::to_string(i));
        }
    }
    return expected;
}

TEST_F(TimerScheduleTest, FiresEveryTimerOnTheTicksItWouldFireOnAloneForTenMinutes) {
    const std::vector<std::tuple<std::vector<int>, int>> cases = {
        {{2000, 500, 60000}, 500},  // the dashboard's clock, CPU and visit timers
        {{500}, 500},
        {{60000}, 60000},
        {{1500, 1000}, 500},
        {{300, 500}, 100},          // intervals without a 500 ms base still keep their times
        {{60000, 2000, 500, 500}, 500},
    };
    for (const auto& [intervals, base] : cases) {
        frmTimers f;
        for (int i : intervals) f.add(i);
        ui::TimerSchedule s(f.all());
        EXPECT_EQ(s.baseInterval(), base) << ::testing::PrintToString(intervals);
        run(f, s, kTenMinutes);
        EXPECT_EQ(f.fired, Alone(intervals, kTenMinutes)) << ::testing::PrintToString(intervals);
    }
}

TEST_F(TimerScheduleTest, DisabledTimersNeitherFireNorSetTheBase) {
    frmTimers f;
    f.add(2000);
    f.add(500, false);
    ui::TimerSchedule s(f.all());
    EXPECT_EQ(s.baseInterval(), 2000);
    run(f, s, 6000);
    EXPECT_EQ(f.fired, (std::vector<std::pair<int, std::string>>{{2000, "tmr0"}, {4000, "tmr0"}, {6000, "tmr0"}}));

    f.timers[0]->setEnabled(false);
    s.timerChanged(*f.timers[0]);
    EXPECT_EQ(s.baseInterval(), 0);  // nothing runs: the system timer may stop
}

TEST_F(TimerScheduleTest, AChangedTimerCountsAfreshFromTheChange) {
    frmTimers f;
    f.add(500);
    f.add(2000);
    ui::TimerSchedule s(f.all());
    run(f, s, 1500);
    f.timers[1]->setInterval(1000);  // 1500 ms into its 2000: its next tick is 1000 ms on
    s.timerChanged(*f.timers[1]);
    f.fired.clear();
    run(f, s, 3500);
    EXPECT_EQ(f.fired, (std::vector<std::pair<int, std::string>>{
                           {2000, "tmr0"}, {2500, "tmr0"}, {2500, "tmr1"}, {3000, "tmr0"}, {3500, "tmr0"}, {3500, "tmr1"}}));
}

TEST_F(TimerScheduleTest, ATimerThatAnEarlierHandlerOfTheSameTickDisablesDoesNotFire) {
    frmTimers f;
    f.add(1000);
    f.add(1000);
    f.timers[0]->Tick = [&] {
        f.fired.emplace_back(f.now, "tmr0");
        f.timers[1]->setEnabled(false);
    };
    ui::TimerSchedule s(f.all());
    run(f, s, 3000);
    EXPECT_EQ(f.fired, (std::vector<std::pair<int, std::string>>{{1000, "tmr0"}, {2000, "tmr0"}, {3000, "tmr0"}}));
}

}  // namespace
