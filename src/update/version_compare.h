// Whether the server's version text names a newer program than this one.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace update {

// The parts of a dotted version ("1.0.33"), trimmed of blanks, CR and LF; empty when the text
// is anything but dotted whole numbers.
std::optional<std::vector<long>> VersionParts(const std::string& text);

// Compares part by part as numbers (missing parts count as 0): 1.0.100 is newer than 1.0.32,
// 1.0.4 is not. A text that is no version never is.
bool IsNewerVersion(const std::string& serverText, int major, int minor, int revision);

}  // namespace update
