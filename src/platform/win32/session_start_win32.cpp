#include "platform/win32/session_start_win32.h"

namespace platform {

// Both run minimised and take the focus; their outcome is never read.
void SessionStartWin32::registerAtLogon() {
    processes_.start(kCreateTaskCommand, WindowMode::Minimized);
    processes_.start(kAdjustTaskCommand, WindowMode::Minimized);
}

}  // namespace platform
