#include "platform/linux/clock_linux.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

namespace platform {

LocalTime ClockLinux::now() {
    time_t t = time(nullptr);
    struct tm tm {};
    localtime_r(&t, &tm);
    return LocalTime{Date::fromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday), tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int ClockLinux::utcOffsetMinutes() {
    time_t t = time(nullptr);
    struct tm tm {};
    localtime_r(&t, &tm);
    return static_cast<int>(tm.tm_gmtoff / 60);
}

ShortDateFormat ShortDateFormatFor(const std::string& localeName, const std::string& dateFormat) {
    const bool usStyle = localeName == "C" || localeName == "POSIX" || localeName.rfind("C.", 0) == 0 ||
                         localeName.rfind("en_US", 0) == 0;
    if (usStyle) return ShortDateFormat{};
    return ShortDateFormat::fromStrftime(dateFormat);
}

ShortDateFormat ClockLinux::shortDateFormat() {
    // The user's LC_TIME, looked up without changing the process's own locale.
    static const ShortDateFormat format = [] {
        locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
        if (loc == static_cast<locale_t>(0)) return ShortDateFormat{};
        std::string name = "C";
        const char* env = nullptr;
        for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
            env = getenv(var);
            if (env && *env) break;
        }
        if (env && *env) name = env;
        ShortDateFormat f = ShortDateFormatFor(name, nl_langinfo_l(D_FMT, loc));
        freelocale(loc);
        return f;
    }();
    return format;
}

// The user's LC_NUMERIC, looked up without changing the process's own locale.
std::string ClockLinux::decimalSeparator() {
    static const std::string separator = [] {
        locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
        if (loc == static_cast<locale_t>(0)) return std::string(".");
        std::string s = nl_langinfo_l(RADIXCHAR, loc);
        freelocale(loc);
        return s.empty() ? std::string(".") : s;
    }();
    return separator;
}

}  // namespace platform
