#include "platform/short_date.h"

#include "platform/trim.h"

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

namespace {

// Builds a format from the numbers' letters in order ("dmy", ...) and the literal texts before,
// between and after them.
ShortDateFormat FromParts(const std::string& letters, const std::vector<std::string>& literals, ShortDateFormat f) {
    f.order = orderOf(letters);
    auto at = [&](size_t i) { return i < literals.size() ? literals[i] : std::string(); };
    f.prefix = at(0);
    f.separator = at(1);
    f.separator2 = at(2) == at(1) ? std::string() : at(2);
    f.suffix = at(3);
    return f;
}

}  // namespace

ShortDateFormat ShortDateFormat::fromPicture(const std::string& picture) {
    ShortDateFormat f;
    std::string letters;
    std::vector<std::string> literals(1);
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == 'd' || c == 'M' || c == 'y') {
            size_t n = 0;
            while (i < picture.size() && picture[i] == c) ++i, ++n;
            if (c == 'd') f.padDay = n >= 2;
            if (c == 'M') f.padMonth = n >= 2;
            letters += static_cast<char>(std::tolower(c));
            literals.emplace_back();
        } else if (c == '\'') {
            // A quoted literal; two quotes in a row stand for one.
            size_t end = i + 1;
            std::string text;
            while (end < picture.size()) {
                if (picture[end] == '\'') {
                    if (end + 1 < picture.size() && picture[end + 1] == '\'') {
                        text += '\'';
                        end += 2;
                        continue;
                    }
                    break;
                }
                text += picture[end++];
            }
            literals.back() += end == i + 1 && end < picture.size() && picture[end] == '\'' ? std::string() : text;
            i = end + 1;
        } else {
            literals.back() += c;
            ++i;
        }
    }
    return FromParts(letters, literals, f);
}

ShortDateFormat ShortDateFormat::fromStrftime(const std::string& format) {
    // %D and %F stand for whole dates.
    std::string expanded;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 'D' || format[i + 1] == 'F')) {
            expanded += format[i + 1] == 'D' ? "%m/%d/%y" : "%Y-%m-%d";
            ++i;
        } else {
            expanded += format[i];
        }
    }
    ShortDateFormat f;
    f.padDay = f.padMonth = true;
    std::string letters;
    std::vector<std::string> literals(1);
    for (size_t i = 0; i < expanded.size();) {
        if (expanded[i] == '%' && i + 1 < expanded.size()) {
            const char c = expanded[i + 1];
            i += 2;
            if (c == 'd' || c == 'e' || c == 'm' || c == 'y' || c == 'Y') {
                letters += c == 'e' ? 'd' : static_cast<char>(std::tolower(c));
                if (c == 'e') f.padDay = false;
                literals.emplace_back();
            } else if (c == '%') {
                literals.back() += '%';
            }
        } else {
            literals.back() += expanded[i++];
        }
    }
    return FromParts(letters, literals, f);
}

std::string formatShortDate(const ShortDateFormat& fmt, Date d) {
    int y, m, day;
    d.toYmd(y, m, day);
    std::string ys = number(y, false), ms = number(m, fmt.padMonth), ds = number(day, fmt.padDay);
    const std::string& s = fmt.separator;
    const std::string& s2 = fmt.separator2.empty() ? fmt.separator : fmt.separator2;
    switch (fmt.order) {
        case Order::DayMonthYear: return fmt.prefix + ds + s + ms + s2 + ys + fmt.suffix;
        case Order::YearMonthDay: return fmt.prefix + ys + s + ms + s2 + ds + fmt.suffix;
        case Order::MonthDayYear: break;
    }
    return fmt.prefix + ms + s + ds + s2 + ys + fmt.suffix;
}

std::optional<Date> parseShortDate(const ShortDateFormat& fmt, const std::string& text) {
    std::string t = Trim(text);
    if (t.empty() || fmt.separator.empty()) return std::nullopt;
    // The literals before and after the numbers, where the text has them.
    const std::string prefix = Trim(fmt.prefix), suffix = Trim(fmt.suffix);
    if (!prefix.empty() && t.rfind(prefix, 0) == 0) t = Trim(t.substr(prefix.size()));
    if (!suffix.empty() && t.size() >= suffix.size() && t.compare(t.size() - suffix.size(), suffix.size(), suffix) == 0) {
        t = Trim(t.substr(0, t.size() - suffix.size()));
    }

    const std::string& sep2 = fmt.separator2.empty() ? fmt.separator : fmt.separator2;
    std::vector<std::string> parts;
    const size_t first = t.find(fmt.separator);
    if (first == std::string::npos) return std::nullopt;
    const size_t second = t.find(sep2, first + fmt.separator.size());
    if (second == std::string::npos) return std::nullopt;
    parts.push_back(t.substr(0, first));
    parts.push_back(t.substr(first + fmt.separator.size(), second - first - fmt.separator.size()));
    parts.push_back(t.substr(second + sep2.size()));
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
