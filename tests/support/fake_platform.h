// Fakes of the platform services, for the portable unit tests.
#pragma once
#include <functional>
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
    int utcOffsetMinutes() override { return offsetMinutes; }
    std::string decimalSeparator() override { return decimal; }
    std::string decimal = ".";
    int offsetMinutes = -300;
    platform::ShortDateFormat shortDateFormat() override { return format; }
    platform::LocalTime time{platform::Date::fromYmd(2017, 7, 19), 14, 5, 0};
    platform::ShortDateFormat format;  // month/day/year, US style
};

// An in-memory program folder.
class FakeFiles : public platform::Files {
public:
    std::string programFolder() override { return folder; }
    std::string programName() override { return "TAVDashboard"; }
    std::string settingsFolder() override { return settings.empty() ? folder : settings; }
    std::string supportFolder() override { return support.empty() ? folder : support; }
    bool updatesItself() override { return !installed; }
    char separator() const override { return '\\'; }
    bool exists(const std::string& path) override { return files.count(path) > 0; }
    std::optional<std::string> read(const std::string& path) override;
    bool replace(const std::string& path, const std::string& bytes) override;
    bool append(const std::string& path, const std::string& bytes) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool makeFolder(const std::string& path) override;
    bool makeExecutable(const std::string& path) override;

    std::string folder = "C:\\Program Files\\TAV";
    // A package's installed program: settings and support program in other folders, no self-update.
    std::string settings, support;
    bool installed = false;
    std::set<std::string> folders;      // folders made by makeFolder
    std::set<std::string> executables;  // files made executable
    std::map<std::string, std::string> files;
    std::set<std::string> unreadable;  // exist but cannot be read
    bool readOnlyFolder = false;       // every write fails
    int writes = 0;
};

class FakeProcesses : public platform::Processes {
public:
    struct Started {
        std::string commandLine;
        platform::WindowMode mode;
    };
    bool start(const std::string& commandLine, platform::WindowMode mode) override {
        started.push_back({commandLine, mode});
        return !failStart;
    }
    // Starts a program that exists in the fake files; fails for any other path.
    bool startProgram(const std::string& path, platform::WindowMode mode) override {
        programs.push_back({path, mode});
        return !failStart && files && files->exists(path);
    }
    FakeFiles* files = nullptr;
    bool failStart = false;  // every start fails
    std::vector<Started> programs;
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
    void release() override { calls.push_back("release"); }

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

// A shell that records each request and answers with a result code the test sets.
class FakeLauncher : public platform::Launcher {
public:
    int32_t open(const platform::ShellRequest& request) override {
        requests.push_back(request);
        return result;
    }
    int32_t result = platform::shell_result::kSuccess;
    std::vector<platform::ShellRequest> requests;
};

// A mail server stand-in: records each message, yields as often as the test says, and answers
// with the outcome the test sets.
class FakeMailTransport : public platform::MailTransport {
public:
    platform::MailOutcome send(const std::string& envelopeFrom, const std::string& recipient, const std::string& message,
                               const std::function<void()>& yield) override {
        sent.push_back({envelopeFrom, recipient, message});
        if (onSend) onSend();
        for (int i = 0; i < yields; ++i) yield();
        return outcome;
    }
    struct Message {
        std::string from, to, bytes;
    };
    std::vector<Message> sent;
    platform::MailOutcome outcome = platform::MailOutcome::Sent;
    int yields = 1;
    std::function<void()> onSend;  // runs while the message is "on the wire"
};

// A management service that answers from tables a test fills; a class without a table fails
// as an unreachable service does. Asynchronous instances wait until deliver() runs them.
class FakeManagement : public platform::Management {
public:
    std::optional<std::vector<platform::ManagementRecord>> instancesOf(const std::string& className,
                                                                       const std::vector<std::string>&) override {
        queries.push_back(className);
        auto it = classes.find(className);
        if (it == classes.end()) return std::nullopt;
        return it->second;
    }
    bool instancesOfAsync(const std::string& className, std::function<void()> onInstance) override {
        queries.push_back(className + " (async)");
        auto it = classes.find(className);
        if (it == classes.end()) return false;
        for (size_t i = 0; i < it->second.size(); ++i) pending.push_back(onInstance);
        return true;
    }
    std::optional<platform::ManagementRecord> object(const std::string& path, const std::vector<std::string>&) override {
        objectsRead.push_back(path);
        auto it = objects.find(path);
        if (it == objects.end()) return std::nullopt;
        return it->second;
    }
    void deliver() {
        auto now = std::move(pending);
        pending.clear();
        for (auto& fn : now) fn();
    }
    std::map<std::string, std::vector<platform::ManagementRecord>> classes;
    std::map<std::string, platform::ManagementRecord> objects;
    std::vector<std::function<void()>> pending;
    std::vector<std::string> queries, objectsRead;
};

// Volumes a test describes by root path.
class FakeDrives : public platform::Drives {
public:
    struct Volume {
        uint32_t type = platform::drive_type::kFixed;
        platform::DiskSpace space;
        std::string remote;  // written into the buffer, NUL-ended, for a network drive
    };
    std::vector<std::string> roots() override { return order; }
    uint32_t driveType(const std::string& root) override {
        auto it = volumes.find(root);
        return it == volumes.end() ? platform::drive_type::kNoRootDir : it->second.type;
    }
    void remoteName(const std::string& root, std::string& buffer, uint32_t length) override {
        auto it = volumes.find(root);
        if (it == volumes.end() || it->second.remote.empty() || it->second.remote.size() + 1 > length) return;
        buffer.replace(0, it->second.remote.size() + 1, it->second.remote + '\0');
    }
    platform::DiskSpace freeSpace(const std::string& root) override {
        auto it = volumes.find(root);
        return it == volumes.end() ? platform::DiskSpace{} : it->second.space;
    }
    std::vector<std::string> order;
    std::map<std::string, Volume> volumes;
};

// A web server that a test scripts by address; every request is logged. An address without
// a script cannot be reached. onGet runs while a request waits (a click on Cancel, say).
class FakeHttp : public platform::HttpClient {
public:
    platform::HttpResponse get(const std::string& url, const platform::HttpLimits& limits,
                               const std::function<void()>& yield, const std::function<bool()>& cancelled) override {
        requests.push_back(url);
        lastLimits = limits;
        if (onGet) onGet(url);
        if (yield) yield();
        platform::HttpResponse r;
        if (cancelled && cancelled()) {
            r.outcome = platform::HttpResponse::Outcome::Cancelled;
            return r;
        }
        auto it = answers.find(url);
        if (it == answers.end()) {
            r.outcome = platform::HttpResponse::Outcome::CouldNotConnect;
            return r;
        }
        return it->second;
    }
    // A 200 answer with the body and its length.
    static platform::HttpResponse Ok(std::string body) {
        platform::HttpResponse r;
        r.outcome = platform::HttpResponse::Outcome::Answered;
        r.status = 200;
        r.contentLength = std::to_string(body.size());
        r.body = std::move(body);
        return r;
    }
    std::map<std::string, platform::HttpResponse> answers;
    std::vector<std::string> requests;
    platform::HttpLimits lastLimits;
    std::function<void(const std::string&)> onGet;
};

// Stand-in cryptography: a digest that tells inputs apart, and "signatures" that are the
// digest of the key and the message, so that a test can sign with FakeCrypto::sign and any
// change of key, message or signature fails the check.
class FakeCrypto : public platform::Crypto {
public:
    std::string sha256(const std::string& bytes) override;
    bool verifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) override {
        return signature == sign(publicKey, message);
    }
    static std::string sign(const std::string& publicKey, const std::string& message);
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
    FakeLauncher launcher;
    FakeMailTransport mail;
    FakeManagement management;
    FakeDrives drives;
    FakeHttp http;
    FakeCrypto crypto;
};

}  // namespace fakes
