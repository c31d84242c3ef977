// The processors' idle, kernel and user times from /proc/stat.
#pragma once
#include <string>

#include "platform/services.h"

namespace platform {

class SystemTimesLinux : public SystemTimes {
public:
    std::optional<SystemTimesReading> read() override;
};

// The times of the aggregate "cpu " line of a /proc/stat text, counted in clock ticks of
// ticksPerSecond each, converted to 100-ns units. Linux splits the time finer than Windows
// does; the parts are grouped so that idle <= kernel and (kernel + user - idle) is the busy
// time: idle = idle + iowait, kernel = system + irq + softirq + steal + idle + iowait,
// user = user + nice (guest time is already part of user time). Empty when the line is
// missing or malformed.
std::optional<SystemTimesReading> ParseProcStat(const std::string& text, long ticksPerSecond);

}  // namespace platform
