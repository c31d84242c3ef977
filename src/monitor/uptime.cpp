#include "monitor/uptime.h"

#include <cmath>
#include <limits>

#include "monitor/number_format.h"
#include "platform/services.h"

namespace modSystemUptime {

namespace {

// Without the high-resolution counter the uptime comes from the coarse millisecond count since
// system start. It is 64 bits wide, so it neither wraps after 49.7 days nor measures only the
// time since this program first asked (the label promises the time since system start).
// Without that count either the label reads zero.
double FallbackUptimeMs(platform::UptimeCounter& uptime) {
    const auto ms = uptime.millisecondsSinceStart();
    return ms ? static_cast<double>(*ms) : 0.0;
}

}  // namespace

double GetUptimeMs() {
    platform::UptimeCounter* uptime = platform::services().uptime;
    if (!uptime) return 0;
    const auto counter = uptime->counter();
    const auto frequency = uptime->frequency();
    if (!counter || !frequency || *frequency <= 0) return FallbackUptimeMs(*uptime);
    return std::floor(static_cast<double>(*counter) / static_cast<double>(*frequency) * 1000.0);
}

std::string GetUptimeText() {
    // Whole seconds, halves to the even number; an uptime beyond 32-bit seconds (68 years)
    // cannot happen and is held at the largest value.
    int32_t seconds = monitor::RoundToInt32(GetUptimeMs() / 1000).value_or(std::numeric_limits<int32_t>::max());
    const int32_t days = seconds / 86400;
    seconds %= 86400;
    const int32_t hours = seconds / 3600;
    seconds %= 3600;
    const int32_t minutes = seconds / 60;
    seconds %= 60;
    return "Uptime = " + std::to_string(days) + " D, " + std::to_string(hours) + " H, " + std::to_string(minutes) +
           " M, " + std::to_string(seconds) + " S";
}

}  // namespace modSystemUptime
