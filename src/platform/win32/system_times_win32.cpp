#include "platform/win32/system_times_win32.h"

#include <windows.h>

namespace platform {

namespace {

int64_t Count(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<int64_t>(v.QuadPart);
}

}  // namespace

// GetSystemTimes sums over all processors, and its kernel time includes the idle time.
std::optional<SystemTimesReading> SystemTimesWin32::read() {
    FILETIME idle{}, kernel{}, user{};
    if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
    return SystemTimesReading{Count(idle), Count(kernel), Count(user)};
}

}  // namespace platform
