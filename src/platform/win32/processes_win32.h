// Starting programs on Windows, with a window mode, without waiting for them.
#pragma once
#include "platform/services.h"

namespace platform {

class ProcessesWin32 : public Processes {
public:
    bool start(const std::string& commandLine, WindowMode mode) override;
};

// The ShowWindow command a started program receives for a window mode.
int ShowCommandOf(WindowMode mode);

}  // namespace platform
