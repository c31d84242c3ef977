#include "platform/linux/system_times_linux.h"

#include <unistd.h>

#include <fstream>
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

std::optional<SystemTimesReading> SystemTimesLinux::read() {
    std::ifstream in("/proc/stat");
    if (!in) return std::nullopt;
    std::string first;
    if (!std::getline(in, first)) return std::nullopt;  // the aggregate line comes first
    return ParseProcStat(first, sysconf(_SC_CLK_TCK));
}

}  // namespace platform
