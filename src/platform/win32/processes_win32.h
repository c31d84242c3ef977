// Starting programs on Windows, with a window mode, without waiting for them.
#pragma once
#include "platform/services.h"

namespace platform {

class ProcessesWin32 : public Processes {
public:
    bool start(const std::string& commandLine, WindowMode mode) override;
    bool startProgram(const std::string& path, WindowMode mode) override;

private:
    static bool Start(const wchar_t* program, std::wstring line, WindowMode mode);
};

// The ShowWindow command a started program receives for a window mode.
int ShowCommandOf(WindowMode mode);

}  // namespace platform
