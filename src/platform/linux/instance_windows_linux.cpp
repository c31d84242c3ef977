#include "platform/linux/instance_windows_linux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {
constexpr WindowHandle kApplicationWindow = 1;
constexpr WindowHandle kShownWindow = 2;

QString SocketPath(const std::string& title) {
    return QString::fromStdString(InstanceWindowsLinux::RuntimeFolder() + "/TAVDashboard-" + title + ".sock");
}
}  // namespace

InstanceWindowsLinux::InstanceWindowsLinux(std::string applicationTitle, std::function<void(bool)> bringForward)
    : title_(std::move(applicationTitle)), bringForward_(std::move(bringForward)) {}

InstanceWindowsLinux::~InstanceWindowsLinux() = default;

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
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = SocketPath(title_);
    QLocalServer::removeServer(path);  // a socket file left by a crashed instance
    server_->listen(path);
    QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                while (client->canReadLine()) {
                    const QByteArray request = client->readLine().trimmed();
                    if (request == "restore") bringForward_(true);
                    else if (request == "foreground") bringForward_(false);
                }
            });
        }
    });
}

void InstanceWindowsLinux::setApplicationTitle(const std::string& title) {
    title_ = title;
    if (server_) {
        server_->close();
        listen();
    }
}

WindowHandle InstanceWindowsLinux::findWindow(const std::string& className, const std::string& title) {
    if (className != "ThunderRT6Main") return 0;
    peer_ = std::make_unique<QLocalSocket>();
    peer_->connectToServer(SocketPath(title));
    if (!peer_->waitForConnected(2000)) {
        peer_.reset();
        return 0;
    }
    return kApplicationWindow;
}

WindowHandle InstanceWindowsLinux::windowAbove(WindowHandle w) { return w == kApplicationWindow ? kShownWindow : 0; }

void InstanceWindowsLinux::send(const char* request) {
    if (!peer_) return;
    peer_->write(request);
    peer_->write("\n");
    peer_->waitForBytesWritten(2000);
}

void InstanceWindowsLinux::openIcon(WindowHandle w) {
    if (w == kShownWindow) send("restore");
}

void InstanceWindowsLinux::setForeground(WindowHandle w) {
    if (w == kShownWindow) send("foreground");
}

}  // namespace platform
