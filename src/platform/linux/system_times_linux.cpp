#include "platform/linux/system_times_linux.h"

#include <fcntl.h>
#include <unistd.h>

#include <sstream>

namespace platform {

namespace {

// ticks clock ticks in 100-ns units, split so that the product cannot overflow.
int64_t ToHundredNs(uint64_t ticks, uint64_t ticksPerSecond) {
    constexpr uint64_t kPerSecond = 10'000'000;
    return static_cast<int64_t>(ticks / ticksPerSecond * kPerSecond + ticks % ticksPerSecond * kPerSecond / ticksPerSecond);
}

}  // namespace

std::optional<SystemTimesReading> ParseProcStat(const std::string& text, long ticksPerSecond) {
    if (ticksPerSecond <= 0) return std::nullopt;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("cpu ", 0) != 0) continue;
        std::istringstream fields(line.substr(4));
        // user nice system idle iowait irq softirq steal; kernels before 2.6.11 lack the last
        // two, and before 2.6 the last four.
        uint64_t v[8] = {};
        int n = 0;
        while (n < 8 && fields >> v[n]) ++n;
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
    const std::string all(text, static_cast<size_t>(n));
    return ParseProcStat(all.substr(0, all.find('\n')), sysconf(_SC_CLK_TCK));
}

}  // namespace platform
