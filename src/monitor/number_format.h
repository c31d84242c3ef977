// Number texts of the monitoring labels.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace monitor {

// The value with the pattern "##.00": two decimals, no digit before the point when the whole
// part is zero (5 -> "5.00", 0.5 -> ".50", 0 -> ".00", 100 -> "100.00"). Halves round away
// from zero on the value's shortest-faithful decimal form (15 significant digits, as the
// number formats of the Windows runtime read a double), so 1.005 gives "1.01" and 0.125 gives
// ".13" although neither is exact in binary. A negative value that rounds to zero shows no sign.
std::string FormatTwoDecimals(double value);

// A fixed-point amount in ten-thousandths (a count of 100-ns units read as milliseconds with
// four decimals) rounded to whole units, ties to the even number; empty when the result does
// not fit 32 bits.
std::optional<int32_t> RoundFixedToInt32(int64_t tenThousandths);

// A double rounded to a whole number, ties to the even number; empty when outside 32 bits.
std::optional<int32_t> RoundToInt32(double value);

}  // namespace monitor
