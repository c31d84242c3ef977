#include "platform/linux/uptime_linux.h"

#include <time.h>

#include <cctype>
#include <fstream>
#include <iterator>

namespace platform {

std::optional<int64_t> UptimeCounterLinux::counter() {
    timespec ts{};
    if (clock_gettime(CLOCK_BOOTTIME, &ts) != 0) return std::nullopt;
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

std::optional<int64_t> UptimeCounterLinux::frequency() { return 1'000'000'000; }

std::optional<int64_t> ParseProcUptime(const std::string& text) {
    // Parsed by hand: the text always uses '.', whatever the process's numeric locale.
    size_t i = 0;
    int64_t seconds = 0;
    bool digits = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, digits = true)
        seconds = seconds * 10 + (text[i] - '0');
    if (!digits) return std::nullopt;
    int64_t ms = seconds * 1000;
    if (i < text.size() && text[i] == '.') {
        int64_t scale = 100;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, scale /= 10)
            ms += (text[i] - '0') * scale;
    }
    return ms;
}

std::optional<int64_t> UptimeCounterLinux::millisecondsSinceStart() {
    std::ifstream in("/proc/uptime");
    if (!in) return std::nullopt;
    return ParseProcUptime(std::string(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace platform
