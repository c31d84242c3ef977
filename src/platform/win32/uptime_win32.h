// Time since system start on Windows: the performance counter, with GetTickCount64 as the
// coarse fallback.
#pragma once
#include "platform/services.h"

namespace platform {

class UptimeCounterWin32 : public UptimeCounter {
public:
    std::optional<int64_t> counter() override;
    std::optional<int64_t> frequency() override;
    std::optional<int64_t> millisecondsSinceStart() override;
};

}  // namespace platform
