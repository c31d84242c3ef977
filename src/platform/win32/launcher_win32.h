// Opening by association on Windows: the shell's ShellExecute.
#pragma once
#include "platform/launcher.h"

namespace platform {

class LauncherWin32 : public Launcher {
public:
    int32_t open(const ShellRequest& request) override;
};

}  // namespace platform
