#include "platform/short_date.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace platform {

namespace {

using Order = ShortDateFormat::Order;

Order orderOf(const std::string& letters) {
    if (letters.rfind("d", 0) == 0) return Order::DayMonthYear;
    if (letters.rfind("y", 0) == 0) return Order::YearMonthDay;
    return Order::MonthDayYear;
}

std::string number(int v, bool pad) {
    char buf[16];
    std::snprintf(buf, sizeof buf, pad ? "%02d" : "%d", v);
    return buf;
}

}  // namespace

ShortDateFormat ShortDateFormat::fromPicture(const std::string& picture) {
    ShortDateFormat f;
    std::string letters;
    bool sepTaken = false;
    for (size_t i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == 'd' || c == 'M' || c == 'y') {
            size_t n = 0;
            while (i < picture.size() && picture[i] == c) ++i, ++n;
            if (c == 'd') f.padDay = n >= 2;
            if (c == 'M') f.padMonth = n >= 2;
            letters += static_cast<char>(std::tolower(c));
        } else if (c == '\'') {
            ++i;  // quoted literals are not part of numeric dates
        } else {
            std::string sep;
            while (i < picture.size() && picture[i] != 'd' && picture[i] != 'M' && picture[i] != 'y') sep += picture[i++];
            if (!sepTaken) f.separator = sep, sepTaken = true;
        }
    }
    f.order = orderOf(letters);
    return f;
}

ShortDateFormat ShortDateFormat::fromStrftime(const std::string& format) {
    ShortDateFormat f;
    f.padDay = f.padMonth = true;
    std::string letters;
    bool sepTaken = false;
    for (size_t i = 0; i < format.size();) {
        if (format[i] == '%' && i + 1 < format.size()) {
            char c = format[i + 1];
            i += 2;
            if (c == 'd' || c == 'e') letters += 'd';
            else if (c == 'm') letters += 'm';
            else if (c == 'y' || c == 'Y') letters += 'y';
            else if (c == 'D') letters += "mdy", f.separator = "/", sepTaken = true;
            else if (c == 'F') letters += "ymd", f.separator = "-", sepTaken = true;
            if (c == 'e') f.padDay = false;
        } else {
            std::string sep;
            while (i < format.size() && format[i] != '%') sep += format[i++];
            if (!sepTaken) f.separator = sep, sepTaken = true;
        }
    }
    f.order = orderOf(letters);
    return f;
}

std::string formatShortDate(const ShortDateFormat& fmt, Date d) {
    int y, m, day;
    d.toYmd(y, m, day);
    std::string ys = number(y, false), ms = number(m, fmt.padMonth), ds = number(day, fmt.padDay);
    const std::string& s = fmt.separator;
    switch (fmt.order) {
        case Order::DayMonthYear: return ds + s + ms + s + ys;
        case Order::YearMonthDay: return ys + s + ms + s + ds;
        case Order::MonthDayYear: break;
    }
    return ms + s + ds + s + ys;
}

std::optional<Date> parseShortDate(const ShortDateFormat& fmt, const std::string& text) {
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    if (b == std::string::npos || fmt.separator.empty()) return std::nullopt;
    std::string t = text.substr(b, e - b + 1);

    std::vector<std::string> parts;
    size_t pos = 0;
    for (;;) {
        size_t next = t.find(fmt.separator, pos);
        parts.push_back(t.substr(pos, next == std::string::npos ? std::string::npos : next - pos));
        if (next == std::string::npos) break;
        pos = next + fmt.separator.size();
    }
    if (parts.size() != 3) return std::nullopt;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        const std::string& p = parts[static_cast<size_t>(i)];
        if (p.empty() || p.size() > 4) return std::nullopt;
        v[i] = 0;
        for (char c : p) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
            v[i] = v[i] * 10 + (c - '0');
        }
    }
    int y, m, d;
    size_t yearDigits;
    switch (fmt.order) {
        case Order::DayMonthYear: d = v[0], m = v[1], y = v[2], yearDigits = parts[2].size(); break;
        case Order::YearMonthDay: y = v[0], m = v[1], d = v[2], yearDigits = parts[0].size(); break;
        default: m = v[0], d = v[1], y = v[2], yearDigits = parts[2].size(); break;
    }
    if (yearDigits <= 2) y += y < 30 ? 2000 : 1900;
    if (!isValidYmd(y, m, d)) return std::nullopt;
    return Date::fromYmd(y, m, d);
}

}  // namespace platform
