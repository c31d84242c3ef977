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
    processes.files = &files;
}

FakePlatform::~FakePlatform() { platform::services() = platform::Services{}; }

}  // namespace fakes
