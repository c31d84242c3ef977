// Fakes of the platform services, for the portable unit tests.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/services.h"

namespace fakes {

class FakeClock : public platform::Clock {
public:
    platform::LocalTime now() override { return time; }
    platform::ShortDateFormat shortDateFormat() override { return format; }
    platform::LocalTime time{platform::Date::fromYmd(2017, 7, 19), 14, 5, 0};
    platform::ShortDateFormat format;  // month/day/year, US style
};

// An in-memory program folder.
class FakeFiles : public platform::Files {
public:
    std::string programFolder() override { return folder; }
    char separator() const override { return '\\'; }
    bool exists(const std::string& path) override { return files.count(path) > 0; }
    std::optional<std::string> read(const std::string& path) override;
    bool replace(const std::string& path, const std::string& bytes) override;

    std::string folder = "C:\\Program Files\\TAV";
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;  // exist but cannot be read
    bool readOnlyFolder = false;       // every write fails
    int writes = 0;
};

class FakeProcesses : public platform::Processes {
public:
    bool start(const std::string& commandLine, platform::WindowMode mode) override {
        started.push_back({commandLine, mode});
        return true;
    }
    struct Started {
        std::string commandLine;
        platform::WindowMode mode;
    };
    std::vector<Started> started;
};

class FakeSessionStart : public platform::SessionStart {
public:
    void registerAtLogon() override { ++registrations; }
    int registrations = 0;
};

// Another instance that may or may not run, with the window it shows.
class FakeInstanceWindows : public platform::InstanceWindows {
public:
    bool earlierInstanceRunning() override { return earlierRunning; }
    void setApplicationTitle(const std::string& title) override { titles.push_back(title); }
    platform::WindowHandle findWindow(const std::string& className, const std::string& title) override;
    platform::WindowHandle windowAbove(platform::WindowHandle w) override { return w == appWindow ? shownWindow : 0; }
    void openIcon(platform::WindowHandle w) override { calls.push_back("openIcon " + std::to_string(w)); }
    void setForeground(platform::WindowHandle w) override { calls.push_back("foreground " + std::to_string(w)); }

    bool earlierRunning = false;
    std::string otherClass = "ThunderRT6Main";  // the class of the other instance's application window
    std::string otherTitle;                     // its title; empty: no window found
    platform::WindowHandle appWindow = 100, shownWindow = 200;
    std::vector<std::string> titles;
    std::vector<std::string> searched;  // "class|title" in order
    std::vector<std::string> calls;
};

// System times that a test sets before each read; nothing to read makes the read fail.
class FakeSystemTimes : public platform::SystemTimes {
public:
    std::optional<platform::SystemTimesReading> read() override {
        ++reads;
        return next;
    }
    std::optional<platform::SystemTimesReading> next;
    int reads = 0;
};

// A high-resolution counter and a millisecond count since start, each of which may fail.
class FakeUptimeCounter : public platform::UptimeCounter {
public:
    std::optional<int64_t> counter() override { return counterValue; }
    std::optional<int64_t> frequency() override { return frequencyValue; }
    std::optional<int64_t> millisecondsSinceStart() override { return milliseconds; }
    std::optional<int64_t> counterValue = 0;
    std::optional<int64_t> frequencyValue = 10'000'000;
    std::optional<int64_t> milliseconds = 0;
};

// All fakes, installed as the process's services while the object lives.
struct FakePlatform {
    FakePlatform();
    ~FakePlatform();
    FakeClock clock;
    FakeFiles files;
    FakeProcesses processes;
    FakeSessionStart sessionStart;
    FakeInstanceWindows instance;
    FakeSystemTimes systemTimes;
    FakeUptimeCounter uptime;
};

}  // namespace fakes
