// The user's short date format: the order of day, month and year, the texts
// around and between the numbers, and whether day and month carry a leading
// zero. Dates are written and read back with the same format, so a file written
// on this machine reads back to the same days.
#pragma once
#include <optional>
#include <string>

#include "platform/date.h"

namespace platform {

struct ShortDateFormat {
    enum class Order { MonthDayYear, DayMonthYear, YearMonthDay };
    Order order = Order::MonthDayYear;
    std::string separator = "/";
    bool padDay = false;
    bool padMonth = false;
    // The picture's other literals, kept as they stand: "yyyy. MM. dd." has ". " twice and a
    // final "."; "d.M.yyyy 'г.'" ends in " г.".
    std::string separator2;  // between the second and the third number; empty: the same as separator
    std::string prefix, suffix;

    // From a Windows date picture such as "M/d/yyyy", "dd.MM.yyyy" or "yyyy-MM-dd".
    static ShortDateFormat fromPicture(const std::string& picture);
    // From a strftime date format such as "%m/%d/%Y" or "%d.%m.%Y" (numbers padded as %d and %m pad them).
    static ShortDateFormat fromStrftime(const std::string& format);
    bool operator==(const ShortDateFormat&) const = default;
};

std::string formatShortDate(const ShortDateFormat& fmt, Date d);
// Accepts the format's order and separator, with or without leading zeros, blanks around
// the whole text, and a two-digit year (1930 to 2029). Empty when the text is no valid date.
std::optional<Date> parseShortDate(const ShortDateFormat& fmt, const std::string& text);

}  // namespace platform
