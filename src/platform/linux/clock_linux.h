#pragma once
#include "platform/services.h"

namespace platform {

// The local clock, and the short date format of the user's LC_TIME.
class ClockLinux : public Clock {
public:
    LocalTime now() override;
    int utcOffsetMinutes() override;
    ShortDateFormat shortDateFormat() override;
    std::string decimalSeparator() override;
};

// The short date format for a locale name and its strftime date format: month/day/four-digit
// year without leading zeros for US English and the C locale, else the locale's own order
// with a four-digit year.
ShortDateFormat ShortDateFormatFor(const std::string& localeName, const std::string& dateFormat);

}  // namespace platform
