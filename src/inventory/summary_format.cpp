#include "inventory/summary_format.h"

#include <charconv>
#include <cmath>

namespace inventory {

// Written with to_chars, which ignores the process's locale: the separator is put in by hand.
std::string FormatWhole(double value) {
    const double rounded = std::round(value);  // halves away from zero
    if (rounded == 0) return {};
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 0);
    return std::string(buf, r.ptr);
}

std::string FormatSignificant(double value, const std::string& decimalSeparator) {
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string text(buf, r.ptr);
    const size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
    return text;
}

}  // namespace inventory
