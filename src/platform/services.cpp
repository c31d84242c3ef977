#include "platform/services.h"

namespace platform {

Services& services() {
    static Services s;
    return s;
}

Date today() { return services().clock->now().date; }

std::string shortDateText(Date d) { return formatShortDate(services().clock->shortDateFormat(), d); }

std::optional<Date> parseDateText(const std::string& text) {
    return parseShortDate(services().clock->shortDateFormat(), text);
}

}  // namespace platform
