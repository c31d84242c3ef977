#pragma once
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A Unix stream socket in the file system that accepts any number of peers and hands each
// line they write (without its line end) to a callback, on the Qt event loop of the thread
// that made it. Only the user who made it may connect (mode 0700). Closing removes the
// socket file.
class LocalLineServer {
public:
    explicit LocalLineServer(std::function<void(const std::string& line)> onLine);
    ~LocalLineServer();
    LocalLineServer(const LocalLineServer&) = delete;
    LocalLineServer& operator=(const LocalLineServer&) = delete;

    // Replaces a socket file already at path (left by a crashed instance). False where the
    // socket cannot be made, e.g. a path longer than a socket address holds.
    bool listen(const std::string& path);
    void close();

private:
    struct Peer {
        int fd = -1;
        std::string pending;  // bytes after the last whole line
        std::unique_ptr<QSocketNotifier> readable;
    };
    void acceptPeers();
    void readPeer(int fd);
    void dropPeer(int fd);

    std::function<void(const std::string&)> onLine_;
    std::string path_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> acceptable_;
    std::vector<Peer> peers_;
};

// Connects to a LocalLineServer's socket; -1 where none listens there. Connecting and
// writing wait at most timeoutMs each.
int ConnectLocalLineServer(const std::string& path, int timeoutMs);
// Writes one line; false where the peer is gone or did not take it in time.
bool SendLine(int fd, const std::string& line);

}  // namespace platform
