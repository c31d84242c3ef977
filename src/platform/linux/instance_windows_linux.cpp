#include "platform/linux/instance_windows_linux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {
constexpr WindowHandle kApplicationWindow = 1;
constexpr WindowHandle kShownWindow = 2;

constexpr int kPeerTimeoutMs = 2000;

std::string SocketPath(const std::string& title) {
    return InstanceWindowsLinux::RuntimeFolder() + "/TAVDashboard-" + title + ".sock";
}
}  // namespace

InstanceWindowsLinux::InstanceWindowsLinux(std::string applicationTitle, std::function<void(bool)> bringForward)
    : title_(std::move(applicationTitle)), bringForward_(std::move(bringForward)) {}

InstanceWindowsLinux::~InstanceWindowsLinux() {
    if (peer_ >= 0) close(peer_);
}

std::string InstanceWindowsLinux::RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/') return runtime;
    std::string folder = "/tmp/TAVDashboard-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    return folder;
}

bool InstanceWindowsLinux::earlierInstanceRunning() {
    if (!lock_) {
        lock_ = std::make_unique<QLockFile>(QString::fromStdString(RuntimeFolder() + "/TAVDashboard.lock"));
        lock_->setStaleLockTime(0);  // a lock left by a crashed instance is taken over (its pid is gone)
        if (lock_->tryLock(0)) listen();
    }
    return !lock_->isLocked();
}

void InstanceWindowsLinux::release() {
    server_.reset();
    if (lock_) lock_->unlock();
}

void InstanceWindowsLinux::listen() {
    server_ = std::make_unique<LocalLineServer>([this](const std::string& request) {
        if (request == "restore") bringForward_(true);
        else if (request == "foreground") bringForward_(false);
    });
    server_->listen(SocketPath(title_));
}

void InstanceWindowsLinux::setApplicationTitle(const std::string& title) {
    title_ = title;
    if (server_) listen();
}

WindowHandle InstanceWindowsLinux::findWindow(const std::string& className, const std::string& title) {
    if (className != "ThunderRT6Main") return 0;
    if (peer_ >= 0) close(peer_);
    peer_ = ConnectLocalLineServer(SocketPath(title), kPeerTimeoutMs);
    return peer_ >= 0 ? kApplicationWindow : 0;
}

WindowHandle InstanceWindowsLinux::windowAbove(WindowHandle w) { return w == kApplicationWindow ? kShownWindow : 0; }

void InstanceWindowsLinux::send(const char* request) {
    if (peer_ >= 0) SendLine(peer_, request);
}

void InstanceWindowsLinux::openIcon(WindowHandle w) {
    if (w == kShownWindow) send("restore");
}

void InstanceWindowsLinux::setForeground(WindowHandle w) {
    if (w == kShownWindow) send("foreground");
}

}  // namespace platform
