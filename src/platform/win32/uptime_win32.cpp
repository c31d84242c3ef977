#include "platform/win32/uptime_win32.h"

#include <windows.h>

namespace platform {

std::optional<int64_t> UptimeCounterWin32::counter() {
    LARGE_INTEGER v;
    if (!QueryPerformanceCounter(&v)) return std::nullopt;
    return static_cast<int64_t>(v.QuadPart);
}

std::optional<int64_t> UptimeCounterWin32::frequency() {
    LARGE_INTEGER v;
    if (!QueryPerformanceFrequency(&v) || v.QuadPart <= 0) return std::nullopt;
    return static_cast<int64_t>(v.QuadPart);
}

// GetTickCount64, unlike GetTickCount, does not wrap after 49.7 days.
std::optional<int64_t> UptimeCounterWin32::millisecondsSinceStart() { return static_cast<int64_t>(GetTickCount64()); }

}  // namespace platform
