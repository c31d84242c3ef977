// The program's version and the window title that shows it.
#pragma once
#include <string>

namespace app {

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 32;

// "TAV Dashboard v1.0.32": the three numbers as plain decimals.
inline std::string VersionedTitle() {
    return "TAV Dashboard v" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

}  // namespace app
