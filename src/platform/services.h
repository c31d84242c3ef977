// The operating-system services the program uses, one small interface each.
// Every service has a Windows and a Linux implementation; tests use fakes.
// A service reports failure to its caller and never shows anything.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/crypto.h"
#include "platform/date.h"
#include "platform/drives.h"
#include "platform/http.h"
#include "platform/launcher.h"
#include "platform/management.h"
#include "platform/mail.h"
#include "platform/short_date.h"

namespace platform {

struct LocalTime {
    Date date;
    int hour = 0, minute = 0, second = 0;
};

// Local clock and the user's regional date format.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
    // Minutes the local time is ahead of UTC now (negative west of Greenwich).
    virtual int utcOffsetMinutes() = 0;
    virtual ShortDateFormat shortDateFormat() = 0;
    // The decimal separator of the user's number format ("." or ",").
    virtual std::string decimalSeparator() = 0;
};

// Files of the program folder.
class Files {
public:
    virtual ~Files() = default;
    virtual std::string programFolder() = 0;  // no trailing separator
    virtual std::string programName() = 0;    // the executable's file name without its extension
    // Where the program keeps what it writes. A program in a folder of its own keeps everything
    // there; one installed by a package manager cannot write beside itself and keeps its settings
    // and the support program in the user's own folders instead.
    virtual std::string settingsFolder() { return programFolder(); }  // holds settings.ini
    virtual std::string supportFolder() { return programFolder(); }   // holds PROGRAMS
    // Whether the program may download and swap in a new version of itself (and of the support
    // program); false where a package manager owns the program's files and updates them.
    virtual bool updatesItself() { return true; }
    virtual char separator() const = 0;
    virtual bool exists(const std::string& path) = 0;
    // The whole file; empty when it cannot be read.
    virtual std::optional<std::string> read(const std::string& path) = 0;
    // Replaces the file in one step: afterwards it holds either its old or its new bytes, never a mix.
    virtual bool replace(const std::string& path, const std::string& bytes) = 0;
    // Adds bytes to the end of a file, creating it when it is missing.
    virtual bool append(const std::string& path, const std::string& bytes) = 0;
    // Deletes a file; true when it is gone afterwards (also when it never existed).
    virtual bool remove(const std::string& path) = 0;
    // Renames a file in one step, replacing the target where the system allows it.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // Creates a folder (its parent must exist); true when it exists afterwards.
    virtual bool makeFolder(const std::string& path) = 0;
    // Lets the user run the file as a program (nothing to do where every file may be run).
    virtual bool makeExecutable(const std::string& path) = 0;
};

enum class WindowMode { Hidden, Normal, Minimized, MinimizedNoActivate };

// Starting programs without waiting for them.
class Processes {
public:
    virtual ~Processes() = default;
    virtual bool start(const std::string& commandLine, WindowMode mode) = 0;
    // Starts one program file, given as a single path (spaces and all), without arguments.
    virtual bool startProgram(const std::string& path, WindowMode mode) = 0;
};

// Starting the program when the user logs on.
class SessionStart {
public:
    virtual ~SessionStart() = default;
    // (Re)registers this executable to start at logon; the outcome is not reported.
    virtual void registerAtLogon() = 0;
};

// Finding and activating an earlier instance of this program.
class InstanceWindows {
public:
    virtual ~InstanceWindows() = default;
    // Whether another instance of this executable already runs for this user.
    virtual bool earlierInstanceRunning() = 0;
    // Gives this instance's hidden application window a new title.
    virtual void setApplicationTitle(const std::string& title) = 0;
    virtual WindowHandle findWindow(const std::string& className, const std::string& title) = 0;  // 0: none
    virtual WindowHandle windowAbove(WindowHandle w) = 0;
    virtual void openIcon(WindowHandle w) = 0;
    virtual void setForeground(WindowHandle w) = 0;
    // Gives up being the first instance, so that a new program started now can be.
    virtual void release() {}
};

// The processors' time counters since system start: 64-bit counts of 100-ns units, each the sum
// over all processors. The kernel time includes the idle time, so (kernel + user - idle) is the
// busy time of all processors together.
struct SystemTimesReading {
    int64_t idle = 0;
    int64_t kernel = 0;
    int64_t user = 0;
};
class SystemTimes {
public:
    virtual ~SystemTimes() = default;
    virtual std::optional<SystemTimesReading> read() = 0;  // empty: the times cannot be read
};

// Time since system start: a high-resolution counter and its ticks per second (each read may
// fail), and a coarse millisecond count for systems without that counter.
class UptimeCounter {
public:
    virtual ~UptimeCounter() = default;
    virtual std::optional<int64_t> counter() = 0;
    virtual std::optional<int64_t> frequency() = 0;
    // Whole milliseconds since system start, 64 bits wide so it does not wrap after 49.7 days.
    virtual std::optional<int64_t> millisecondsSinceStart() = 0;
};

struct Services {
    Clock* clock = nullptr;
    Files* files = nullptr;
    Processes* processes = nullptr;
    SessionStart* sessionStart = nullptr;
    InstanceWindows* instance = nullptr;
    SystemTimes* systemTimes = nullptr;
    UptimeCounter* uptime = nullptr;
    Launcher* launcher = nullptr;
    MailTransport* mail = nullptr;
    Management* management = nullptr;
    Drives* drives = nullptr;
    HttpClient* http = nullptr;
    Crypto* crypto = nullptr;
};

Services& services();

// Today's date and the short date text of a date, with the user's settings.
Date today();
std::string shortDateText(Date d);
std::optional<Date> parseDateText(const std::string& text);

}  // namespace platform
