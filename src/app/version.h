// The program's version and the window title that shows it.
#pragma once
#include <string>

#include "tav_version.h"

namespace app {

inline constexpr int kVersionMajor = TAV_VERSION_MAJOR;
inline constexpr int kVersionMinor = TAV_VERSION_MINOR;
inline constexpr int kVersionRevision = TAV_VERSION_REVISION;

// The version in the executable's bytes, where the store's release script finds it before it
// publishes the file as an update (announcing a version that the file is not would make every
// client update again at every start). Kept by the linker though nothing reads it.
[[gnu::used]] inline constexpr char kVersionMark[] = "TAVDashboard version " TAV_VERSION_TEXT ";";

// "TAV Dashboard v1.0.32": the three numbers as plain decimals.
inline std::string VersionedTitle(int major = kVersionMajor, int minor = kVersionMinor, int revision = kVersionRevision) {
    return "TAV Dashboard v" + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

}  // namespace app
