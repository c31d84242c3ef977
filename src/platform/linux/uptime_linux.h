// Time since system start on Linux: CLOCK_BOOTTIME (which, unlike CLOCK_MONOTONIC, keeps
// counting while the system is suspended, as Windows' performance counter does), with
// /proc/uptime as the coarse fallback.
#pragma once
#include <string>

#include "platform/services.h"

namespace platform {

class UptimeCounterLinux : public UptimeCounter {
public:
    std::optional<int64_t> counter() override;    // nanoseconds
    std::optional<int64_t> frequency() override;  // 1e9
    std::optional<int64_t> millisecondsSinceStart() override;
};

// The first number of a /proc/uptime text ("seconds.hundredths idle"), in milliseconds.
std::optional<int64_t> ParseProcUptime(const std::string& text);

}  // namespace platform
