// The processors' idle, kernel and user times from /proc/stat.
#pragma once
#include <string>

#include "platform/services.h"

namespace platform {

class SystemTimesLinux : public SystemTimes {
public:
    SystemTimesLinux() = default;
    ~SystemTimesLinux() override;
    SystemTimesLinux(const SystemTimesLinux&) = delete;
    SystemTimesLinux& operator=(const SystemTimesLinux&) = delete;
    std::optional<SystemTimesReading> read() override;

private:
    // /proc/stat stays open: it is read twice a second for the program's life, and each read
    // from its start gives fresh figures without opening the file again.
    int fd_ = -1;
};

// The times of the aggregate "cpu " line of a /proc/stat text, counted in clock ticks of
// ticksPerSecond each, converted to 100-ns units. Linux splits the time finer than Windows
// does; the parts are grouped so that idle <= kernel and (kernel + user - idle) is the busy
// time: idle = idle + iowait, kernel = system + irq + softirq + steal + idle + iowait,
// user = user + nice (guest time is already part of user time). Empty when the line is
// missing or malformed.
std::optional<SystemTimesReading> ParseProcStat(const std::string& text, long ticksPerSecond);

}  // namespace platform
