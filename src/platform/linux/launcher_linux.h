// Opening by association on Linux: an executable file is started directly, anything else
// (documents, folders, web addresses) goes to the desktop's opener, xdg-open or gio.
#pragma once
#include "platform/launcher.h"

namespace platform {

class LauncherLinux : public Launcher {
public:
    int32_t open(const ShellRequest& request) override;
};

// Whether a file name is an address with a scheme ("https://...", "mailto:..."), not a path.
bool IsAddress(const std::string& file);

}  // namespace platform
