#include <gtest/gtest.h>

#include "monitor/uptime.h"
#include "support/fake_platform.h"

namespace {

class Uptime : public ::testing::Test {
protected:
    // The uptime given as the high-resolution counter at 10 MHz (Windows' usual frequency).
    void SetCounterMs(int64_t ms) {
        os.uptime.frequencyValue = 10'000'000;
        os.uptime.counterValue = ms * 10'000;
    }
    fakes::FakePlatform os;
};

constexpr int64_t kDayMs = 86'400'000;

TEST_F(Uptime, TextRoundsToWholeSecondsTiesToEven) {
    struct Case {
        int64_t ms;
        const char* text;
    };
    const Case cases[] = {
        {0, "Uptime = 0 D, 0 H, 0 M, 0 S"},
        {499, "Uptime = 0 D, 0 H, 0 M, 0 S"},
        {500, "Uptime = 0 D, 0 H, 0 M, 0 S"},
        {501, "Uptime = 0 D, 0 H, 0 M, 1 S"},
        {1500, "Uptime = 0 D, 0 H, 0 M, 2 S"},
        {2500, "Uptime = 0 D, 0 H, 0 M, 2 S"},
        {59'500, "Uptime = 0 D, 0 H, 1 M, 0 S"},
        {3'599'501, "Uptime = 0 D, 1 H, 0 M, 0 S"},
        {90'061'500, "Uptime = 1 D, 1 H, 1 M, 2 S"},
        {90'060'500, "Uptime = 1 D, 1 H, 1 M, 0 S"},
        {86'399'600, "Uptime = 1 D, 0 H, 0 M, 0 S"},
        {86'399'499, "Uptime = 0 D, 23 H, 59 M, 59 S"},
        {50 * kDayMs, "Uptime = 50 D, 0 H, 0 M, 0 S"},  // beyond the 32-bit millisecond tick's 49.7 days
        {60 * kDayMs + 3'723'000, "Uptime = 60 D, 1 H, 2 M, 3 S"},
        {400 * kDayMs + 86'399'000, "Uptime = 400 D, 23 H, 59 M, 59 S"},
    };
    for (const Case& c : cases) {
        SetCounterMs(c.ms);
        EXPECT_EQ(modSystemUptime::GetUptimeText(), c.text) << c.ms;
    }
}

TEST_F(Uptime, MillisecondsAreCounterOverFrequencyCutDown) {
    struct Case {
        int64_t counter, frequency;
        double ms;
    };
    const Case cases[] = {
        {15'999'999, 10'000'000, 1599},           // 1599.9999 cuts down
        {16'000'000, 10'000'000, 1600},
        {1, 3, 333},                              // 333.33...
        {2, 3, 666},                              // 666.66... cuts down, not to the nearest
        {1'000'000'000, 1'000'000'000, 1000},     // nanoseconds (Linux)
        {5'184'000'123'456'789, 1'000'000'000, 5'184'000'123},  // 60 days in nanoseconds
    };
    for (const Case& c : cases) {
        os.uptime.counterValue = c.counter;
        os.uptime.frequencyValue = c.frequency;
        EXPECT_EQ(modSystemUptime::GetUptimeMs(), c.ms) << c.counter << " / " << c.frequency;
    }
}

TEST_F(Uptime, FailingCounterFallsBackToMillisecondsSinceStart) {
    struct Case {
        const char* name;
        std::optional<int64_t> counter, frequency, fallbackMs;
        const char* text;
    };
    const Case cases[] = {
        {"counter fails", std::nullopt, 10'000'000, 90'061'500, "Uptime = 1 D, 1 H, 1 M, 2 S"},
        {"frequency fails", 123, std::nullopt, 60 * kDayMs + 1'000, "Uptime = 60 D, 0 H, 0 M, 1 S"},
        {"frequency zero", 123, 0, 7'000, "Uptime = 0 D, 0 H, 0 M, 7 S"},
        {"everything fails", std::nullopt, std::nullopt, std::nullopt, "Uptime = 0 D, 0 H, 0 M, 0 S"},
    };
    for (const Case& c : cases) {
        os.uptime.counterValue = c.counter;
        os.uptime.frequencyValue = c.frequency;
        os.uptime.milliseconds = c.fallbackMs;
        EXPECT_EQ(modSystemUptime::GetUptimeText(), c.text) << c.name;
    }
}

TEST_F(Uptime, WorkingCounterIgnoresTheFallback) {
    SetCounterMs(2'000);
    os.uptime.milliseconds = 9'000'000;
    EXPECT_EQ(modSystemUptime::GetUptimeText(), "Uptime = 0 D, 0 H, 0 M, 2 S");
}

}  // namespace
