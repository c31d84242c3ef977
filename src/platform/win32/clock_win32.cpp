#include "platform/win32/clock_win32.h"

#include <windows.h>

#include "platform/win32/text_win32.h"

namespace platform {

LocalTime ClockWin32::now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return LocalTime{Date::fromYmd(st.wYear, st.wMonth, st.wDay), st.wHour, st.wMinute, st.wSecond};
}

int ClockWin32::utcOffsetMinutes() {
    // The bias is UTC minus local time, daylight saving included where it is in force.
    TIME_ZONE_INFORMATION tz{};
    const DWORD which = GetTimeZoneInformation(&tz);
    LONG bias = tz.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT) bias += tz.DaylightBias;
    else if (which == TIME_ZONE_ID_STANDARD) bias += tz.StandardBias;
    return static_cast<int>(-bias);
}

ShortDateFormat ShortDateFormatOfLocale(const std::wstring& localeName) {
    wchar_t picture[80] = {};
    const wchar_t* name = localeName.empty() ? LOCALE_NAME_USER_DEFAULT : localeName.c_str();
    if (GetLocaleInfoEx(name, LOCALE_SSHORTDATE, picture, static_cast<int>(std::size(picture))) <= 0) {
        return ShortDateFormat{};
    }
    return ShortDateFormat::fromPicture(Narrow(picture));
}

// Read again on every call: the user may change the regional settings while the program runs.
ShortDateFormat ClockWin32::shortDateFormat() { return ShortDateFormatOfLocale(L""); }

std::string ClockWin32::decimalSeparator() {
    wchar_t sep[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, static_cast<int>(std::size(sep))) <= 0) return ".";
    const std::string s = Narrow(sep);
    return s.empty() ? "." : s;
}

}  // namespace platform
