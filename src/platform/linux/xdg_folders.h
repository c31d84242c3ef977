// The user's XDG base folders (the freedesktop.org rules for where per-user files go), which the
// program's autostart entry and, for the package's installed program, its settings and support
// program live in.
#pragma once
#include <string>

namespace platform {

// $name when it holds an absolute path, else the home folder followed by fallback
// ("XDG_CONFIG_HOME", ".config" gives ~/.config).
std::string XdgBaseFolder(const char* name, const char* fallback);

// Makes the folder and every missing parent (mode 0700). A folder that cannot be made shows
// later, as a file that cannot be written in it.
void MakeFolders(const std::string& folder);

}  // namespace platform
