// The number texts of the hardware summary.
#pragma once
#include <string>

namespace inventory {

// The pattern "#": rounded to a whole number, halves away from zero; a value that rounds to 0
// gives the empty text (512 MB as gigabytes gives "1", 256 MB gives "").
std::string FormatWhole(double value);

// The number in decimal with up to 15 significant digits, the user's decimal separator in
// place of the point.
std::string FormatSignificant(double value, const std::string& decimalSeparator);

// A number as the management service writes it (plain decimal with a point), whatever the
// process's locale. False when the text is no such number.
bool ParseDecimal(const std::string& text, double& value);

}  // namespace inventory
