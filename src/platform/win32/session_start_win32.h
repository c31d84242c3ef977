// Starting with the user's logon through the task scheduler: the task comes from the
// task.xml shipped beside the program, and maketask.vbs adjusts it afterwards.
#pragma once
#include "platform/services.h"

namespace platform {

class SessionStartWin32 : public SessionStart {
public:
    explicit SessionStartWin32(Processes& processes) : processes_(processes) {}
    void registerAtLogon() override;

private:
    Processes& processes_;
};

// The two command lines, started one after the other without waiting.
inline constexpr const char* kCreateTaskCommand = "cmd.exe /c SCHTASKS /Create /TN \"TAV Dashboard\" /XML task.xml /F";
inline constexpr const char* kAdjustTaskCommand = "cmd.exe /c maketask.vbs";

}  // namespace platform
