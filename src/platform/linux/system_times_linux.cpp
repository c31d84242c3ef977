#include "platform/linux/system_times_linux.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace platform {

namespace {

// ticks clock ticks in 100-ns units, split so that the product cannot overflow.
int64_t ToHundredNs(uint64_t ticks, uint64_t ticksPerSecond) {
    constexpr uint64_t kPerSecond = 10'000'000;
    return static_cast<int64_t>(ticks / ticksPerSecond * kPerSecond + ticks % ticksPerSecond * kPerSecond / ticksPerSecond);
}

}  // namespace

// Read twice a second for months: parsed in place, without streams and their locale.
std::optional<SystemTimesReading> ParseProcStat(const std::string& text, long ticksPerSecond) {
    if (ticksPerSecond <= 0) return std::nullopt;
    const std::string_view all(text);
    for (size_t start = 0; start < all.size();) {
        const size_t end = std::min(all.find('\n', start), all.size());
        const std::string_view line = all.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with("cpu ")) continue;
        // user nice system idle iowait irq softirq steal; kernels before 2.6.11 lack the last
        // two, and before 2.6 the last four.
        uint64_t v[8] = {};
        int n = 0;
        const char* p = line.data() + 4;
        const char* const e = line.data() + line.size();
        while (n < 8) {
            while (p < e && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\v' || *p == '\f')) ++p;
            const auto [next, error] = std::from_chars(p, e, v[n]);
            if (error != std::errc()) break;
            p = next;
            ++n;
        }
        if (n < 4) return std::nullopt;
        const auto [user, nice, system, idle, iowait, irq, softirq, steal] = v;
        const uint64_t tps = static_cast<uint64_t>(ticksPerSecond);
        SystemTimesReading r;
        r.idle = ToHundredNs(idle + iowait, tps);
        r.kernel = ToHundredNs(system + irq + softirq + steal + idle + iowait, tps);
        r.user = ToHundredNs(user + nice, tps);
        return r;
    }
    return std::nullopt;
}

SystemTimesLinux::~SystemTimesLinux() {
    if (fd_ >= 0) close(fd_);
}

std::optional<SystemTimesReading> SystemTimesLinux::read() {
    // The aggregate line comes first and is far shorter than the buffer.
    char text[4096];
    ssize_t n = -1;
    for (int attempt = 0; attempt < 2 && n <= 0; ++attempt) {
        if (fd_ < 0) fd_ = open("/proc/stat", O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return std::nullopt;
        n = pread(fd_, text, sizeof text, 0);
        if (n <= 0) {  // a descriptor gone bad: open the file afresh once
            close(fd_);
            fd_ = -1;
        }
    }
    if (n <= 0) return std::nullopt;
    const std::string_view all(text, static_cast<size_t>(n));
    return ParseProcStat(std::string(all.substr(0, all.find('\n'))), sysconf(_SC_CLK_TCK));
}

}  // namespace platform
