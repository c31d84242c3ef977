#include "platform/linux/files_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <fstream>
#include <sstream>

#include "platform/linux/xdg_folders.h"
#include "platform/temporary_name.h"

namespace platform {

std::string FilesLinux::programFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string exe(buf, static_cast<size_t>(n));
    size_t slash = exe.rfind('/');
    return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string FilesLinux::programName() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "TAVDashboard";
    std::string exe(buf, static_cast<size_t>(n));
    exe = exe.substr(exe.rfind('/') + 1);
    const size_t dot = exe.rfind('.');
    return dot == std::string::npos || dot == 0 ? exe : exe.substr(0, dot);
}

bool FilesLinux::installed() {
    const std::string folder = programFolder();
    return folder == packageFolder_ || access(folder.c_str(), W_OK) != 0;
}

std::string FilesLinux::userFolder(const char* name, const char* fallback) {
    const std::string folder = XdgBaseFolder(name, fallback) + "/TAVDashboard";
    MakeFolders(folder);
    return folder;
}

std::string FilesLinux::settingsFolder() { return installed() ? userFolder("XDG_CONFIG_HOME", ".config") : programFolder(); }

std::string FilesLinux::supportFolder() { return installed() ? userFolder("XDG_DATA_HOME", ".local/share") : programFolder(); }

bool FilesLinux::exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::optional<std::string> FilesLinux::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return ss.str();
}

namespace {

std::atomic<unsigned> g_tempCounter{0};

// Removes the temporary files of earlier replaces of this file whose writer no longer runs.
// One named after this process is stale too (left by an ended process whose id this one got):
// the program replaces a file from its window thread only, so none of its own is in flight.
void RemoveAbandonedTemporaries(const std::string& folder, const std::string& fileName) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = readdir(dir)) {
        const std::optional<uint32_t> writer = TemporaryWriter(e->d_name, fileName);
        if (!writer) continue;
        const bool mine = *writer == static_cast<uint32_t>(getpid());
        if (mine || (kill(static_cast<pid_t>(*writer), 0) == -1 && errno == ESRCH)) unlinkat(dirfd(dir), e->d_name, 0);
    }
    closedir(dir);
}

}  // namespace

// Writes a temporary file beside the target, flushes it to disk and renames it over the
// target, then flushes the folder, so a crash leaves either the old file or the new one (and
// at most a temporary file, which the next replace of the same file removes).
bool FilesLinux::replace(const std::string& path, const std::string& bytes) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    RemoveAbandonedTemporaries(folder, fileName);
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        tmp = (slash == std::string::npos ? "" : path.substr(0, slash + 1)) +
              TemporaryName(fileName, static_cast<uint32_t>(getpid()), g_tempCounter.fetch_add(1));
        fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(tmp.c_str());
        return false;
    }
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

bool FilesLinux::append(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    return close(fd) == 0 && ok;
}

bool FilesLinux::remove(const std::string& path) { return unlink(path.c_str()) == 0 || errno == ENOENT; }

// rename(2) replaces the target atomically: a program started by its path finds either the
// old file or the new one.
bool FilesLinux::rename(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool FilesLinux::makeFolder(const std::string& path) {
    struct stat st {};
    return mkdir(path.c_str(), 0755) == 0 || (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

bool FilesLinux::makeExecutable(const std::string& path) { return chmod(path.c_str(), 0755) == 0; }

}  // namespace platform
