// Checks shared by the tests of the real system-times services on each platform.
#pragma once
#include <gtest/gtest.h>

#include "platform/services.h"

namespace fakes {

// Two readings some time apart: every count advanced, and the busy share lies within 0 to 100.
inline void ExpectReadingsAdvanceWithinRange(const platform::SystemTimesReading& start,
                                             const platform::SystemTimesReading& end) {
    EXPECT_GE(end.idle, start.idle);
    EXPECT_GE(end.kernel, start.kernel);
    EXPECT_GE(end.user, start.user);
    const int64_t total = (end.kernel - start.kernel) + (end.user - start.user);
    const int64_t idle = end.idle - start.idle;
    ASSERT_GT(total, 0);
    EXPECT_LE(idle, total);
    const double usage = static_cast<double>(total - idle) * 100 / static_cast<double>(total);
    EXPECT_GE(usage, 0.0);
    EXPECT_LE(usage, 100.0);
}

}  // namespace fakes
