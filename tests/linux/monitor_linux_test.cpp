#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <regex>
#include <thread>

#include "monitor/cpu_usage.h"
#include "monitor/uptime.h"
#include "platform/linux/system_times_linux.h"
#include "platform/linux/uptime_linux.h"
#include "support/dashboard_fixture.h"
#include "support/system_times_checks.h"

namespace {

using platform::SystemTimesReading;

TEST(LinuxProcStat, AggregateLineGroupedAndConverted) {
    struct Case {
        const char* name;
        std::string text;
        long ticksPerSecond;
        std::optional<SystemTimesReading> times;
    };
    // user nice system idle iowait irq softirq steal guest guest_nice, in ticks
    const std::string modern = "cpu  100 20 30 400 5 6 7 8 50 0\ncpu0 50 10 15 200 2 3 3 4 25 0\n";
    const Case cases[] = {
        // idle 400+5, kernel 30+6+7+8+400+5, user 100+20; 1/100 s = 100 000 units
        {"modern", modern, 100, SystemTimesReading{40'500'000, 45'600'000, 12'000'000}},
        {"ticks of 1/1000 s", modern, 1000, SystemTimesReading{4'050'000, 4'560'000, 1'200'000}},
        // a frequency that does not divide 10 000 000 still converts exactly where it can
        {"odd frequency", "cpu  3 0 0 3\n", 3, SystemTimesReading{10'000'000, 10'000'000, 10'000'000}},
        {"kernel without iowait", "cpu  1 2 3 4\n", 100, SystemTimesReading{400'000, 700'000, 300'000}},
        {"not first line", "intr 5\ncpu  1 0 0 1 0 0 0 0\n", 100, SystemTimesReading{100'000, 100'000, 100'000}},
        {"large counts", "cpu  4000000000000 0 0 0\n", 100, SystemTimesReading{0, 0, 400'000'000'000'000'000}},
        {"per-processor lines only", "cpu0 1 2 3 4\n", 100, std::nullopt},
        {"too few fields", "cpu  1 2 3\n", 100, std::nullopt},
        {"not numbers", "cpu  a b c d\n", 100, std::nullopt},
        {"a negative count", "cpu  1 2 3 -4\n", 100, std::nullopt},
        {"a count beyond 64 bits", "cpu  1 2 3 18446744073709551616\n", 100, std::nullopt},
        {"no tick frequency", modern, 0, std::nullopt},
        {"empty", "", 100, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto got = platform::ParseProcStat(c.text, c.ticksPerSecond);
        ASSERT_EQ(got.has_value(), c.times.has_value());
        if (!got) continue;
        EXPECT_EQ(got->idle, c.times->idle);
        EXPECT_EQ(got->kernel, c.times->kernel);
        EXPECT_EQ(got->user, c.times->user);
    }
}

TEST(LinuxProcUptime, FirstNumberInMilliseconds) {
    struct Case {
        const char* text;
        std::optional<int64_t> ms;
    };
    const Case cases[] = {
        {"12345.67 4567.89\n", 12'345'670}, {"0.05 0.00\n", 50}, {"90061.5 1\n", 90'061'500},
        {"5184000.00 1\n", 5'184'000'000}, {"7 1\n", 7'000},    {"", std::nullopt},
        {"x 1\n", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::ParseProcUptime(c.text), c.ms) << c.text;
}

TEST(LinuxSystemTimes, AdvanceAndGiveAUsageWithinRange) {
    platform::SystemTimesLinux times;
    const auto start = times.read();
    ASSERT_TRUE(start);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto end = times.read();
    ASSERT_TRUE(end);
    fakes::ExpectReadingsAdvanceWithinRange(*start, *end);
    const int64_t total = (end->kernel - start->kernel) + (end->user - start->user);
    // All processors together: about half a second of each online processor.
    const double seconds = static_cast<double>(total) / 1e7;
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    EXPECT_GT(seconds, 0.2 * static_cast<double>(processors));
    EXPECT_LT(seconds, 2.0 * static_cast<double>(processors));
}

// The sampler on the real system times, with the window model of the fake host.
class LinuxCpuSampler : public fakes::DashboardTest {
protected:
    void SetUp() override {
        modGetTotalCPUUsage::Reset();
        platform::services().systemTimes = &times;
        platform::services().uptime = &uptime;
        ASSERT_TRUE(startUp());
    }
    void TearDown() override { modGetTotalCPUUsage::Reset(); }
    platform::SystemTimesLinux times;
    platform::UptimeCounterLinux uptime;
};

TEST_F(LinuxCpuSampler, ReadingHalfASecondApartIsWithinRange) {
    host.tick(dash().tmrGetCPU);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    host.tick(dash().tmrGetCPU);
    EXPECT_GE(modGetTotalCPUUsage::dblCPUUsage, 0.0);
    EXPECT_LE(modGetTotalCPUUsage::dblCPUUsage, 100.0);
    EXPECT_TRUE(std::regex_match(dash().lblUsage.caption(), std::regex(R"(Current CPU Usage:  (100|[1-9]?[0-9])?\.[0-9]{2}%)")))
        << dash().lblUsage.caption();
    EXPECT_EQ(dash().lblCPUAvg.caption(), "AVG CPU Usage (Last 1 secs):  %");
    EXPECT_TRUE(dash().chartCPU.point(60).has_value());
    EXPECT_TRUE(std::regex_match(dash().lblSysUptime.caption(), std::regex(R"(Uptime = \d+ D, \d+ H, \d+ M, \d+ S)")))
        << dash().lblSysUptime.caption();
}

double ProcUptimeMs() {
    std::ifstream in("/proc/uptime");
    double seconds = -1;
    in >> seconds;
    return seconds * 1000;
}

TEST(LinuxUptime, CounterAndFallbackAgreeWithProcUptime) {
    platform::UptimeCounterLinux uptime;
    platform::services().uptime = &uptime;
    const double before = ProcUptimeMs();
    const double counted = modSystemUptime::GetUptimeMs();
    const auto fallback = uptime.millisecondsSinceStart();
    const double after = ProcUptimeMs();
    platform::services().uptime = nullptr;
    ASSERT_GT(before, 0);
    EXPECT_EQ(counted, std::floor(counted));
    EXPECT_GE(counted, before - 1000);
    EXPECT_LE(counted, after + 1000);
    ASSERT_TRUE(fallback);
    EXPECT_GE(static_cast<double>(*fallback), before - 1000);
    EXPECT_LE(static_cast<double>(*fallback), after + 1000);
}

}  // namespace
