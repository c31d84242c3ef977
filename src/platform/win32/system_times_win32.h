// The processors' idle, kernel and user times from GetSystemTimes.
#pragma once
#include "platform/services.h"

namespace platform {

class SystemTimesWin32 : public SystemTimes {
public:
    std::optional<SystemTimesReading> read() override;
};

}  // namespace platform
