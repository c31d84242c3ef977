#include "platform/linux/local_line_server.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {
bool SocketAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}
}  // namespace

LocalLineServer::LocalLineServer(std::function<void(const std::string&)> onLine) : onLine_(std::move(onLine)) {}

LocalLineServer::~LocalLineServer() { close(); }

bool LocalLineServer::listen(const std::string& path) {
    close();
    sockaddr_un address;
    if (!SocketAddress(path, address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    unlink(path.c_str());
    // The socket file is made with the user's rights only: no other user may ask this
    // instance to do anything.
    const mode_t mask = umask(0077);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(mask);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    acceptable_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(acceptable_.get(), &QSocketNotifier::activated, [this] { acceptPeers(); });
    return true;
}

void LocalLineServer::close() {
    for (Peer& p : peers_) {
        p.readable.reset();  // before its descriptor closes
        ::close(p.fd);
    }
    peers_.clear();
    acceptable_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        unlink(path_.c_str());
        fd_ = -1;
    }
}

void LocalLineServer::acceptPeers() {
    for (;;) {
        const int peer = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (peer < 0) return;  // none left waiting (EAGAIN), or the peer gave up
        Peer p;
        p.fd = peer;
        p.readable = std::make_unique<QSocketNotifier>(peer, QSocketNotifier::Read);
        QObject::connect(p.readable.get(), &QSocketNotifier::activated, [this, peer] { readPeer(peer); });
        peers_.push_back(std::move(p));
    }
}

void LocalLineServer::readPeer(int fd) {
    auto it = std::find_if(peers_.begin(), peers_.end(), [fd](const Peer& p) { return p.fd == fd; });
    if (it == peers_.end()) return;
    char buffer[512];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
        dropPeer(fd);
        return;
    }
    it->pending.append(buffer, static_cast<size_t>(n));
    std::vector<std::string> lines;
    size_t end;
    while ((end = it->pending.find('\n')) != std::string::npos) {
        std::string line = it->pending.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        it->pending.erase(0, end + 1);
    }
    // A peer that writes without ever ending a line is dropped before it fills the memory.
    if (it->pending.size() > 4096) dropPeer(fd);
    // The callback may bring windows forward and run the event loop: the peers are not
    // touched after it.
    for (const std::string& line : lines) onLine_(line);
}

void LocalLineServer::dropPeer(int fd) {
    auto it = std::find_if(peers_.begin(), peers_.end(), [fd](const Peer& p) { return p.fd == fd; });
    if (it == peers_.end()) return;
    // Called from the notifier's own signal: it is deleted once that returns.
    it->readable->setEnabled(false);
    it->readable.release()->deleteLater();
    ::close(fd);
    peers_.erase(it);
}

int ConnectLocalLineServer(const std::string& path, int timeoutMs) {
    sockaddr_un address;
    if (!SocketAddress(path, address)) return -1;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    // A Unix socket's connect and write wait at most the send time-out.
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendLine(int fd, const std::string& line) {
    const std::string bytes = line + "\n";
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace platform
