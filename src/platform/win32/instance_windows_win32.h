// Single instance on Windows. Every instance owns a hidden top-level application window of
// class "ThunderRT6Main" titled with the application title; a later instance finds it with
// FindWindowA and activates the window just above it. A named mutex per user session tells
// whether an earlier instance runs at all.
#pragma once
#include <string>

#include "platform/services.h"

struct HWND__;

namespace platform {

inline constexpr const char* kApplicationWindowClass = "ThunderRT6Main";

class InstanceWindowsWin32 : public InstanceWindows {
public:
    // Creates the hidden application window with the given title.
    explicit InstanceWindowsWin32(const std::string& applicationTitle);
    ~InstanceWindowsWin32() override;
    InstanceWindowsWin32(const InstanceWindowsWin32&) = delete;
    InstanceWindowsWin32& operator=(const InstanceWindowsWin32&) = delete;

    bool earlierInstanceRunning() override;
    void setApplicationTitle(const std::string& title) override;
    WindowHandle findWindow(const std::string& className, const std::string& title) override;
    WindowHandle windowAbove(WindowHandle w) override;
    void openIcon(WindowHandle w) override;
    void setForeground(WindowHandle w) override;

    HWND__* applicationWindow() const { return window_; }

private:
    HWND__* window_ = nullptr;
    void* mutex_ = nullptr;
};

// "Local\TAVDashboard-<user SID>": one name per user within a logon session.
std::string InstanceMutexName();

// Whether CreateMutex's outcome tells of an earlier instance: the mutex existed already, or
// it exists but may not be opened (an earlier instance running elevated).
bool EarlierInstanceFromCreateMutex(bool gotHandle, unsigned long lastError);

}  // namespace platform
