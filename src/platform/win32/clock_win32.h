// The local clock and the user's short date format from the Windows regional settings.
#pragma once
#include <string>

#include "platform/services.h"

namespace platform {

class ClockWin32 : public Clock {
public:
    LocalTime now() override;
    int utcOffsetMinutes() override;
    ShortDateFormat shortDateFormat() override;
    std::string decimalSeparator() override;
};

// The short date format of a locale ("en-US", "de-DE"; empty: the user's default).
// US style when the locale has no readable short date picture.
ShortDateFormat ShortDateFormatOfLocale(const std::wstring& localeName);

}  // namespace platform
