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
    return Start(nullptr, Widen(commandLine), mode);
}

// The path names the program itself (spaces and all); its command line is the quoted path.
bool ProcessesWin32::startProgram(const std::string& path, WindowMode mode) {
    if (path.empty()) return false;
    const std::wstring program = Widen(path);
    return Start(program.c_str(), L"\"" + program + L"\"", mode);
}

bool ProcessesWin32::Start(const wchar_t* program, std::wstring line, WindowMode mode) {
    if (line.empty()) return false;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(ShowCommandOf(mode));
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

}  // namespace platform
