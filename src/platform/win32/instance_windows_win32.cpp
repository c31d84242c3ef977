#include "platform/win32/instance_windows_win32.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "platform/win32/text_win32.h"

namespace platform {

namespace {

HWND ToHwnd(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

void RegisterApplicationWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kApplicationWindowClass;
    RegisterClassExA(&wc);  // fails harmlessly when a second object registers it again
}

std::string CurrentUserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buf(size);
    std::string sid;
    if (size > 0 && GetTokenInformation(token, TokenUser, buf.data(), size, &size)) {
        char* text = nullptr;
        if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buf.data())->User.Sid, &text)) {
            sid = text;
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return sid;
}

}  // namespace

std::string InstanceMutexName() {
    std::string user = CurrentUserSid();
    if (user.empty()) {
        char name[256] = {};
        DWORD n = sizeof name;
        if (GetUserNameA(name, &n)) user = name;
    }
    for (char& c : user) {
        if (c == '\\') c = '_';  // a backslash would name a namespace
    }
    return "Local\\TAVDashboard-" + user;
}

InstanceWindowsWin32::InstanceWindowsWin32(const std::string& applicationTitle) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterApplicationWindowClass(instance);
    window_ = CreateWindowExA(0, kApplicationWindowClass, applicationTitle.c_str(), WS_POPUP | WS_CLIPSIBLINGS, 0, 0, 0,
                              0, nullptr, nullptr, instance, nullptr);
}

InstanceWindowsWin32::~InstanceWindowsWin32() {
    if (window_) DestroyWindow(window_);
    if (mutex_) CloseHandle(mutex_);
}

// The first instance creates the mutex and holds it for its whole life; a later one opens it.
// An earlier instance that runs elevated (started from an installer, say) owns a mutex that a
// later, non-elevated instance of the same user may not open: access denied means it exists.
bool EarlierInstanceFromCreateMutex(bool gotHandle, unsigned long lastError) {
    return gotHandle ? lastError == ERROR_ALREADY_EXISTS : lastError == ERROR_ACCESS_DENIED;
}

bool InstanceWindowsWin32::earlierInstanceRunning() {
    if (mutex_) return false;
    mutex_ = CreateMutexA(nullptr, FALSE, InstanceMutexName().c_str());
    return EarlierInstanceFromCreateMutex(mutex_ != nullptr, GetLastError());
}

void InstanceWindowsWin32::setApplicationTitle(const std::string& title) {
    if (window_) SetWindowTextA(window_, title.c_str());
}

WindowHandle InstanceWindowsWin32::findWindow(const std::string& className, const std::string& title) {
    return FromHwnd(FindWindowA(className.c_str(), title.c_str()));
}

// The window just above the earlier instance's application window, provided it belongs to that
// instance: when its windows are hidden, the one above may be another program's, which a later
// instance must neither restore nor bring forward.
WindowHandle InstanceWindowsWin32::windowAbove(WindowHandle w) {
    HWND app = ToHwnd(w);
    HWND above = GetWindow(app, GW_HWNDPREV);
    DWORD appProcess = 0, aboveProcess = 0;
    GetWindowThreadProcessId(app, &appProcess);
    if (!above || !GetWindowThreadProcessId(above, &aboveProcess) || aboveProcess != appProcess) return 0;
    return FromHwnd(above);
}

void InstanceWindowsWin32::openIcon(WindowHandle w) { OpenIcon(ToHwnd(w)); }

void InstanceWindowsWin32::setForeground(WindowHandle w) { SetForegroundWindow(ToHwnd(w)); }

}  // namespace platform
