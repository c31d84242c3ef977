// The program's version and the window title that shows it.
#pragma once
#include <string>

#include "tav_version.h"

namespace app {

inline constexpr int kVersionMajor = TAV_VERSION_MAJOR;
inline constexpr int kVersionMinor = TAV_VERSION_MINOR;
inline constexpr int kVersionRevision = TAV_VERSION_REVISION;

// "TAV Dashboard v1.0.32": the three numbers as plain decimals.
inline std::string VersionedTitle(int major = kVersionMajor, int minor = kVersionMinor, int revision = kVersionRevision) {
    return "TAV Dashboard v" + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

}  // namespace app
