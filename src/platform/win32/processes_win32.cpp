#include "platform/win32/processes_win32.h"

#include <windows.h>

#include "platform/win32/text_win32.h"

namespace platform {

int ShowCommandOf(WindowMode mode) {
    switch (mode) {
        case WindowMode::Hidden: return SW_HIDE;
        case WindowMode::Minimized: return SW_SHOWMINIMIZED;
        case WindowMode::MinimizedNoActivate: return SW_SHOWMINNOACTIVE;
        case WindowMode::Normal: break;
    }
    return SW_SHOWNORMAL;
}

// The command line is searched and split as CreateProcess does; the new process inherits
// the current directory.
bool ProcessesWin32::start(const std::string& commandLine, WindowMode mode) {
    std::wstring line = Widen(commandLine);
    if (line.empty()) return false;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(ShowCommandOf(mode));
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace platform
