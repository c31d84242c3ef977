#include "inventory/summary_format.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace inventory {

namespace {

// The decimal point of the C library's current locale, which printf writes and strtod reads
// (on Linux the toolkit sets it from the user's environment).
std::string LibraryPoint() {
    const char* point = std::localeconv()->decimal_point;
    return point && *point ? point : ".";
}

}  // namespace

std::string FormatWhole(double value) {
    const double rounded = std::round(value);  // halves away from zero
    if (rounded == 0) return {};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.0f", rounded);
    return buf;
}

std::string FormatSignificant(double value, const std::string& decimalSeparator) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string text = buf;
    const std::string point = LibraryPoint();
    const size_t at = text.find(point);
    if (at != std::string::npos) text.replace(at, point.size(), decimalSeparator);
    return text;
}

bool ParseDecimal(const std::string& text, double& value) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos) return false;
    std::string local = text;
    const size_t at = local.find('.');
    if (at != std::string::npos) local.replace(at, 1, LibraryPoint());
    char* end = nullptr;
    value = std::strtod(local.c_str(), &end);
    return end == local.c_str() + local.size() && std::isfinite(value);
}

}  // namespace inventory
