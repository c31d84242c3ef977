#include "monitor/number_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace monitor {

std::string FormatTwoDecimals(double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    // The magnitude as 15 significant decimal digits d.dddddddddddddd and its exponent.
    char sci[32];
    std::snprintf(sci, sizeof sci, "%.14e", std::fabs(value));
    std::string digits(1, sci[0]);
    digits.append(sci + 2, 14);
    const int exponent = std::atoi(sci + 17);
    // Whole hundredths: the first (exponent + 3) digits, rounded half away from zero on the next.
    const int wholeDigits = exponent + 3;
    if (wholeDigits > 17) {  // far beyond anything the labels show; no rounding question left
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.2f", value);
        return buf;
    }
    uint64_t hundredths = 0;
    for (int i = 0; i < wholeDigits && i < 15; ++i) hundredths = hundredths * 10 + static_cast<uint64_t>(digits[i] - '0');
    for (int i = 15; i < wholeDigits; ++i) hundredths *= 10;
    if (wholeDigits >= 0 && wholeDigits < 15 && digits[wholeDigits] >= '5') ++hundredths;

    std::string text = value < 0 && hundredths != 0 ? "-" : "";
    if (hundredths >= 100) text += std::to_string(hundredths / 100);
    const unsigned cents = static_cast<unsigned>(hundredths % 100);
    text += '.';
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    return text;
}

std::optional<int32_t> RoundFixedToInt32(int64_t tenThousandths) {
    constexpr int64_t kScale = 10000;
    int64_t whole = tenThousandths / kScale;
    int64_t rest = tenThousandths % kScale;
    if (rest < 0) {  // floor division, so that rest lies in 0 .. 9999
        --whole;
        rest += kScale;
    }
    if (rest > kScale / 2 || (rest == kScale / 2 && whole % 2 != 0)) ++whole;
    if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(whole);
}

std::optional<int32_t> RoundToInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
    if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(whole);
}

}  // namespace monitor
