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
    processes.files = &files;
}

FakePlatform::~FakePlatform() { platform::services() = platform::Services{}; }

}  // namespace fakes
