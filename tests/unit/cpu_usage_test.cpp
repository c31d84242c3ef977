#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "monitor/cpu_usage.h"
#include "support/dashboard_fixture.h"

namespace {

namespace cpu = modGetTotalCPUUsage;
using platform::SystemTimesReading;

constexpr int64_t kPerMs = 10'000;  // 100-ns units per millisecond
constexpr const char* kUsageDesign = "Current CPU Usage:  ";
constexpr const char* kAverageDesign = "AVG CPU Usage:  ";

// The dashboard after start-up, with system times that advance as a test says.
class CpuSampler : public fakes::DashboardTest {
protected:
    void SetUp() override {
        cpu::Reset();
        ASSERT_TRUE(startUp());
    }
    void TearDown() override { cpu::Reset(); }

    void Tick() { host.tick(dash().tmrGetCPU); }
    // One baseline tick and one completion tick; the times advance by the given 100-ns counts.
    void Sample(int64_t idle, int64_t kernel, int64_t user) {
        os.systemTimes.next = now;
        Tick();
        now.idle += idle;
        now.kernel += kernel;
        now.user += user;
        os.systemTimes.next = now;
        Tick();
    }
    // A reading of `busy` of `total` whole milliseconds (the kernel time holds the idle time).
    void SampleMs(int64_t busy, int64_t total = 1000) { Sample((total - busy) * kPerMs, total * kPerMs, 0); }
    // A reading with the usage given in hundredths of a percent, of 10 000 ms.
    void SampleUsage(int64_t hundredthsPercent) { SampleMs(hundredthsPercent, 10'000); }

    std::string usage() { return dash().lblUsage.caption(); }
    std::string average() { return dash().lblCPUAvg.caption(); }
    // The rows of the chart that hold a value.
    std::vector<int> filledRows() {
        std::vector<int> rows;
        for (int row = 1; row <= 60; ++row)
            if (dash().chartCPU.point(row)) rows.push_back(row);
        return rows;
    }
    static std::vector<int> Rows(int first) {
        std::vector<int> rows;
        for (int row = first; row <= 60; ++row) rows.push_back(row);
        return rows;
    }

    SystemTimesReading now{123'456'789, 987'654'321, 555'555'555};
};

struct ReadingsCase {
    const char* name;
    std::vector<int64_t> usages;  // hundredths of a percent, oldest first
    const char* usageText;
    const char* averageText;
    int firstFilledRow;
};

class CpuReadings : public CpuSampler, public ::testing::WithParamInterface<ReadingsCase> {};

TEST_P(CpuReadings, LabelsHistoryAndChart) {
    const ReadingsCase& c = GetParam();
    for (int64_t u : c.usages) SampleUsage(u);
    EXPECT_EQ(usage(), std::string(kUsageDesign) + c.usageText);
    EXPECT_EQ(average(), c.averageText);
    EXPECT_EQ(filledRows(), Rows(c.firstFilledRow));
    // Point i shows slot i: the newest reading at 60, the older ones before it in order.
    const size_t n = c.usages.size();
    for (size_t back = 0; back < std::min<size_t>(n, 60); ++back) {
        const int row = 60 - static_cast<int>(back);
        const double expected = static_cast<double>(c.usages[n - 1 - back]) / 100;
        EXPECT_DOUBLE_EQ(dash().chartCPU.point(row).value_or(-1), expected) << "row " << row;
        EXPECT_EQ(cpu::vCPUHistory[row], dash().chartCPU.point(row)) << "row " << row;
    }
    EXPECT_FALSE(cpu::vCPUHistory[0].has_value());
}

std::vector<int64_t> Ramp(int from, int to) {  // whole percents from .. to, in hundredths
    std::vector<int64_t> v;
    for (int p = from; p <= to; ++p) v.push_back(p * 100);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, CpuReadings,
    ::testing::Values(
        ReadingsCase{"first", {2500}, "25.00%", "AVG CPU Usage (Last 1 secs):  %", 60},
        ReadingsCase{"second", {2500, 5000}, "50.00%", "AVG CPU Usage (Last 2 secs):  25.00%", 59},
        ReadingsCase{"third", {1000, 2000, 7000}, "70.00%", "AVG CPU Usage (Last 3 secs):  15.00%", 58},
        // 1 .. 59 average to 30
        ReadingsCase{"sixtieth", Ramp(1, 60), "60.00%", "AVG CPU Usage (Last 60 secs):  30.00%", 1},
        // the oldest drops out: 2 .. 60 average to 31; the count stays at 60
        ReadingsCase{"sixty-first", Ramp(1, 61), "61.00%", "AVG CPU Usage (Last 60 secs):  31.00%", 1},
        ReadingsCase{"hundredth", Ramp(1, 100), "100.00%", "AVG CPU Usage (Last 60 secs):  70.00%", 1},
        // zero readings are stored and drawn, but not averaged
        ReadingsCase{"zero then value", {0, 3000, 0}, ".00%", "AVG CPU Usage (Last 2 secs):  30.00%", 58},
        ReadingsCase{"only zeros", {0, 0, 0}, ".00%", "AVG CPU Usage (Last 1 secs):  %", 58},
        ReadingsCase{"below one percent", {45, 5}, ".05%", "AVG CPU Usage (Last 2 secs):  .45%", 59},
        ReadingsCase{"average rounds", {1, 2, 100}, "1.00%", "AVG CPU Usage (Last 3 secs):  .02%", 58}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(CpuSampler, LabelsKeepDesignTextsUntilTheFirstCompletedReading) {
    os.systemTimes.next = now;
    Tick();
    EXPECT_EQ(usage(), kUsageDesign);
    EXPECT_EQ(average(), kAverageDesign);
    EXPECT_TRUE(filledRows().empty());
    EXPECT_TRUE(cpu::bCPUBaselineTaken);
}

TEST_F(CpuSampler, UsageBelowOnePercentHasNoLeadingZero) {
    SampleMs(9, 2000);  // 900 / 2000 = 0.45
    EXPECT_EQ(usage(), "Current CPU Usage:  .45%");
    EXPECT_DOUBLE_EQ(cpu::dblCPUUsage, 0.45);
}

// Readings that change nothing; the tick after them takes a new baseline.
struct SkipCase {
    const char* name;
    std::optional<SystemTimesReading> start, end;
};

class CpuSkippedReading : public CpuSampler, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(CpuSkippedReading, ChangesNothingAndTheNextTickTakesANewBaseline) {
    const SkipCase& c = GetParam();
    SampleUsage(4000);  // an earlier reading that must stay shown
    const std::string shownUsage = usage(), shownAverage = average();
    const auto shownPoints = dash().chartCPU.points();
    const auto shownHistory = cpu::vCPUHistory;

    os.systemTimes.next = c.start;
    Tick();
    os.systemTimes.next = c.end;
    Tick();
    EXPECT_EQ(usage(), shownUsage);
    EXPECT_EQ(average(), shownAverage);
    EXPECT_EQ(dash().chartCPU.points(), shownPoints);
    EXPECT_EQ(cpu::vCPUHistory, shownHistory);
    EXPECT_FALSE(cpu::bCPUBaselineTaken);

    // The next pair measures from its own baseline, not from the skipped one.
    now = SystemTimesReading{9'000'000'000, 9'500'000'000, 9'700'000'000};
    SampleMs(250);
    EXPECT_EQ(usage(), "Current CPU Usage:  25.00%");
    EXPECT_EQ(average(), "AVG CPU Usage (Last 2 secs):  40.00%");
}

const SystemTimesReading kAt{50'000'000, 80'000'000, 30'000'000};

INSTANTIATE_TEST_SUITE_P(
    Cases, CpuSkippedReading,
    ::testing::Values(
        SkipCase{"total did not advance", kAt, kAt},
        // kernel and user advance by less than half a millisecond together
        SkipCase{"total rounds to zero", kAt, SystemTimesReading{kAt.idle, kAt.kernel + 2'000, kAt.user + 2'000}},
        SkipCase{"total went back", kAt, SystemTimesReading{kAt.idle, kAt.kernel - 10'000'000, kAt.user}},
        SkipCase{"baseline read failed", std::nullopt, kAt},
        SkipCase{"completion read failed", kAt, std::nullopt},
        // a difference beyond 32-bit milliseconds (counters reset)
        SkipCase{"difference overflows", SystemTimesReading{0, 0, 0},
                 SystemTimesReading{0, int64_t{1} << 45, 0}}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ' || ch == '-') ch = '_';
        return name;
    });

TEST_F(CpuSampler, DeltasRoundToWholeMillisecondsTiesToEven) {
    struct Case {
        int64_t idle, kernel, user;                  // 100-ns units
        int32_t idleMs, kernelMs, userMs, totalMs;   // after rounding
        const char* text;
    };
    const Case cases[] = {
        {5'005'000, 10'005'000, 5'000, 500, 1000, 0, 1000, "50.00%"},        // .5 down to even
        {4'995'000, 10'015'000, 15'000, 500, 1002, 2, 1004, "50.20%"},       // .5 up to even
        {4'994'999, 10'014'999, 14'999, 499, 1001, 1, 1002, "50.20%"},       // below .5
        {5'005'001, 10'005'001, 5'001, 501, 1001, 1, 1002, "50.00%"},        // above .5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Sample(c.idle, c.kernel, c.user);
        EXPECT_EQ(cpu::lIdleDelta, c.idleMs);
        EXPECT_EQ(cpu::lKernelDelta, c.kernelMs);
        EXPECT_EQ(cpu::lUserDelta, c.userMs);
        EXPECT_EQ(cpu::lTotalDelta, c.totalMs);
        EXPECT_EQ(usage(), std::string(kUsageDesign) + c.text);
    }
}

TEST_F(CpuSampler, SeveralProcessorsGiveTheShareOfAllTogether) {
    struct Case {
        int processors;
        int64_t busyMs;  // summed over the processors in 500 ms
        const char* text;
    };
    const Case cases[] = {
        {1, 500, "100.00%"}, {4, 0, ".00%"},      {4, 500, "25.00%"},   {4, 2000, "100.00%"},
        {8, 1000, "25.00%"}, {16, 8000, "100.00%"}, {64, 1, ".00%"},   {3, 1000, "66.67%"},
    };
    for (const Case& c : cases) {
        const int64_t totalMs = 500 * c.processors;
        // the busy time split between kernel and user
        const int64_t userMs = c.busyMs / 2, kernelBusyMs = c.busyMs - userMs;
        Sample((totalMs - c.busyMs) * kPerMs, (totalMs - c.busyMs + kernelBusyMs) * kPerMs, userMs * kPerMs);
        EXPECT_GE(cpu::dblCPUUsage, 0.0) << c.processors;
        EXPECT_LE(cpu::dblCPUUsage, 100.0) << c.processors;
        EXPECT_EQ(usage(), std::string(kUsageDesign) + c.text) << c.processors << " processors, " << c.busyMs << " ms";
    }
}

TEST_F(CpuSampler, BaselineAndCompletionAlternate) {
    for (int tick = 1; tick <= 6; ++tick) {
        os.systemTimes.next = now;
        now.kernel += 500 * kPerMs;
        Tick();
        EXPECT_EQ(cpu::bCPUBaselineTaken, tick % 2 == 1) << tick;
        EXPECT_EQ(os.systemTimes.reads, tick);
    }
    EXPECT_EQ(average(), "AVG CPU Usage (Last 3 secs):  100.00%");
}

TEST_F(CpuSampler, LetsPendingEventsRunOnceInABaselineAndTwiceInACompletion) {
    struct Case {
        std::optional<SystemTimesReading> end;
        int completionCalls;
    };
    // a skipped reading still yields between computing the total and testing it
    const Case cases[] = {{SystemTimesReading{now.idle, now.kernel + kPerMs * 1000, now.user}, 2}, {now, 2}};
    for (const Case& c : cases) {
        os.systemTimes.next = now;
        int before = host.doEventsCalls;
        Tick();
        EXPECT_EQ(host.doEventsCalls - before, 1);
        os.systemTimes.next = c.end;
        before = host.doEventsCalls;
        Tick();
        EXPECT_EQ(host.doEventsCalls - before, c.completionCalls);
    }
}

TEST_F(CpuSampler, UptimeLabelIsSetBeforeTheSampleLetsEventsRun) {
    os.uptime.frequencyValue = 1000;
    os.uptime.counterValue = 90'061'500;
    std::string seenByEvent;
    host.pendingEvents.push_back([&] { seenByEvent = dash().lblSysUptime.caption(); });
    os.systemTimes.next = now;
    Tick();
    EXPECT_EQ(seenByEvent, "Uptime = 1 D, 1 H, 1 M, 2 S");
    os.uptime.counterValue = 90'062'600;
    Tick();
    EXPECT_EQ(dash().lblSysUptime.caption(), "Uptime = 1 D, 1 H, 1 M, 3 S");
}

}  // namespace
