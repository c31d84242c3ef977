#pragma once
#include <QLockFile>
#include <functional>
#include <memory>

#include "platform/linux/local_line_server.h"
#include "platform/services.h"

namespace platform {

// One instance per user: the first instance holds a lock file in the user's runtime folder
// and listens on a local socket named after its application title. A later instance finds
// that socket and asks the first to restore and raise the window it shows.
class InstanceWindowsLinux : public InstanceWindows {
public:
    // bringForward(restore): restore == true asks to un-minimise the shown window,
    // false to raise it; a hidden dashboard stays hidden.
    InstanceWindowsLinux(std::string applicationTitle, std::function<void(bool restore)> bringForward);
    ~InstanceWindowsLinux() override;

    bool earlierInstanceRunning() override;
    void setApplicationTitle(const std::string& title) override;
    WindowHandle findWindow(const std::string& className, const std::string& title) override;
    WindowHandle windowAbove(WindowHandle w) override;
    void openIcon(WindowHandle w) override;
    void setForeground(WindowHandle w) override;
    void release() override;

    // The per-user folder that holds the lock and the socket.
    static std::string RuntimeFolder();

private:
    void listen();
    void send(const char* request);

    std::string title_;
    std::function<void(bool)> bringForward_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<LocalLineServer> server_;
    int peer_ = -1;  // the connection to the first instance, once found
};

}  // namespace platform
