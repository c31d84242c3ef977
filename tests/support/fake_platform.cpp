#include "support/fake_platform.h"

namespace fakes {

std::optional<std::string> FakeFiles::read(const std::string& path) {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return std::nullopt;
    return it->second;
}

bool FakeFiles::replace(const std::string& path, const std::string& bytes) {
    if (readOnlyFolder) return false;
    ++writes;
    files[path] = bytes;
    return true;
}

bool FakeFiles::append(const std::string& path, const std::string& bytes) {
    if (readOnlyFolder) return false;
    ++writes;
    files[path] += bytes;
    return true;
}

bool FakeFiles::remove(const std::string& path) {
    if (readOnlyFolder && files.count(path)) return false;
    files.erase(path);
    return true;
}

bool FakeFiles::rename(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (readOnlyFolder || it == files.end()) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
}

bool FakeFiles::makeFolder(const std::string& path) {
    if (readOnlyFolder) return false;
    folders.insert(path);
    return true;
}

bool FakeFiles::makeExecutable(const std::string& path) {
    if (!files.count(path)) return false;
    executables.insert(path);
    return true;
}

platform::WindowHandle FakeInstanceWindows::findWindow(const std::string& className, const std::string& title) {
    searched.push_back(className + "|" + title);
    return !otherTitle.empty() && className == otherClass && title == otherTitle ? appWindow : 0;
}

std::string FakeCrypto::sha256(const std::string& bytes) {
    // Four FNV-1a runs with different seeds: 32 bytes that differ for different inputs.
    std::string digest;
    for (uint64_t seed = 0; seed < 4; ++seed) {
        uint64_t h = 1469598103934665603ull ^ (seed * 0x9e3779b97f4a7c15ull);
        for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
        for (int i = 0; i < 8; ++i) digest += static_cast<char>(h >> (8 * i));
    }
    return digest;
}

std::string FakeCrypto::sign(const std::string& publicKey, const std::string& message) {
    return FakeCrypto().sha256(publicKey + '\0' + message) + FakeCrypto().sha256(message + '\0' + publicKey);
}

FakePlatform::FakePlatform() {
    platform::Services& s = platform::services();
    s.clock = &clock;
    s.files = &files;
    s.processes = &processes;
    s.sessionStart = &sessionStart;
    s.instance = &instance;
    s.systemTimes = &systemTimes;
    s.uptime = &uptime;
    s.launcher = &launcher;
    s.mail = &mail;
    s.management = &management;
    s.drives = &drives;
    s.http = &http;
    s.crypto = &crypto;
    processes.files = &files;
}

FakePlatform::~FakePlatform() { platform::services() = platform::Services{}; }

}  // namespace fakes
