// The monitoring services on the real Windows API (run under Wine here).
#include <gtest/gtest.h>

#include <windows.h>

#include "monitor/uptime.h"
#include "platform/win32/system_times_win32.h"
#include "platform/win32/uptime_win32.h"
#include "support/system_times_checks.h"

namespace {

TEST(Win32SystemTimes, AdvanceAndGiveAUsageWithinRange) {
    platform::SystemTimesWin32 times;
    const auto start = times.read();
    ASSERT_TRUE(start);
    Sleep(500);
    const auto end = times.read();
    ASSERT_TRUE(end);
    fakes::ExpectReadingsAdvanceWithinRange(*start, *end);
}

TEST(Win32Uptime, CounterAgreesWithTheTickCount) {
    platform::UptimeCounterWin32 uptime;
    platform::services().uptime = &uptime;
    ASSERT_TRUE(uptime.counter());
    ASSERT_TRUE(uptime.frequency());
    EXPECT_GT(*uptime.frequency(), 0);
    const double before = static_cast<double>(GetTickCount64());
    const double counted = modSystemUptime::GetUptimeMs();
    const auto fallback = uptime.millisecondsSinceStart();
    const double after = static_cast<double>(GetTickCount64());
    platform::services().uptime = nullptr;
    EXPECT_GE(counted, before - 1000);
    EXPECT_LE(counted, after + 1000);
    ASSERT_TRUE(fallback);
    EXPECT_GE(static_cast<double>(*fallback), before);
    EXPECT_LE(static_cast<double>(*fallback), after);
}

}  // namespace
