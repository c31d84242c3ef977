// The Win32 platform services on the real Win32 API (run under Wine or on Windows).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/clock_win32.h"
#include "platform/win32/crypto_win32.h"
#include "platform/win32/files_win32.h"
#include "platform/win32/instance_windows_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/session_start_win32.h"
#include "platform/temporary_name.h"
#include "platform/win32/text_win32.h"
#include "support/crypto_checks.h"
#include "support/fake_platform.h"
#include "update/download.h"

using platform::ShortDateFormat;
using Order = ShortDateFormat::Order;

namespace {

// A temporary folder, removed with its contents.
struct TempFolder {
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int n = 0;
        path = platform::Narrow(base) + "tav-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++n);
        CreateDirectoryW(platform::Widen(path).c_str(), nullptr);
    }
    ~TempFolder() {
        for (const std::string& name : entries()) DeleteFileW(platform::Widen(path + "\\" + name).c_str());
        RemoveDirectoryW(platform::Widen(path).c_str());
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(platform::Widen(path + "\\*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            const std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..") names.push_back(platform::Narrow(name));
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        return names;
    }
    std::string path;
};

TEST(Win32Files, ReplaceCreatesOrReplacesWithExactBytesAndNoTemporaryFile) {
    struct Case {
        const char* name;
        std::vector<std::string> writes;  // successive contents; the last one must be read back
    };
    const Case cases[] = {
        {"a new file", {"[SETTINGS]\r\n"}},
        {"an existing file, shorter", {"a long first content\r\nline 2\r\n", "new\r\n"}},
        {"an existing file, with NUL bytes and high bytes", {"old", std::string("n\0e\xe9w\r\n", 7)}},
        {"an empty file", {"something", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        platform::FilesWin32 files;
        const std::string path = dir.path + "\\settings.ini";
        for (const std::string& bytes : c.writes) ASSERT_TRUE(files.replace(path, bytes));
        EXPECT_EQ(files.read(path), c.writes.back());
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"settings.ini"});
    }
}

// A process ended in the middle of a replace leaves its temporary file; the next replace of the
// same file removes it, but never one whose writer still runs, nor another file's.
TEST(Win32Files, ReplaceRemovesTemporariesOfEndedWriters) {
    // Two processes of our own, held before their first instruction: one ended, one running.
    auto suspended = [](PROCESS_INFORMATION& pi) {
        wchar_t command[] = L"cmd.exe /c exit";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        return CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                              nullptr, &si, &pi) != 0;
    };
    PROCESS_INFORMATION ended{}, running{};
    ASSERT_TRUE(suspended(ended));
    ASSERT_TRUE(suspended(running));
    TerminateProcess(ended.hProcess, 1);
    WaitForSingleObject(ended.hProcess, 5000);
    TempFolder dir;
    const auto tmp = [&](const char* file, DWORD pid) {
        return dir.path + "\\" + platform::TemporaryName(file, static_cast<uint32_t>(pid), 0);
    };
    const std::string endedTmp = tmp("settings.ini", ended.dwProcessId);
    const std::string runningTmp = tmp("settings.ini", running.dwProcessId);
    const std::string otherTmp = tmp("other.ini", ended.dwProcessId);
    platform::FilesWin32 files;
    for (const std::string& f : {endedTmp, runningTmp, otherTmp}) ASSERT_TRUE(files.append(f, "half"));
    // The ended process's id stays taken while a handle to it is open, so no new process gets it.
    ASSERT_TRUE(files.replace(dir.path + "\\settings.ini", "new"));
    EXPECT_FALSE(files.exists(endedTmp));
    EXPECT_TRUE(files.exists(runningTmp));
    EXPECT_TRUE(files.exists(otherTmp));
    EXPECT_EQ(files.read(dir.path + "\\settings.ini"), "new");
    TerminateProcess(running.hProcess, 1);
    for (PROCESS_INFORMATION* pi : {&ended, &running}) {
        CloseHandle(pi->hProcess);
        CloseHandle(pi->hThread);
    }
}

TEST(Win32Files, NonAsciiPathsAreUtf8) {
    TempFolder dir;
    platform::FilesWin32 files;
    const std::string path = dir.path + "\\r\xc3\xa9glages.ini";  // "réglages.ini"
    ASSERT_TRUE(files.replace(path, "x"));
    EXPECT_TRUE(files.exists(path));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"r\xc3\xa9glages.ini"});
}

TEST(Win32Files, FailuresAreReported) {
    TempFolder dir;
    platform::FilesWin32 files;
    const std::string missingFolder = dir.path + "\\missing\\settings.ini";
    EXPECT_FALSE(files.replace(missingFolder, "x"));
    EXPECT_FALSE(files.exists(missingFolder));
    EXPECT_EQ(files.read(missingFolder), std::nullopt);
    EXPECT_EQ(files.read(dir.path + "\\none.ini"), std::nullopt);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(Win32Files, ProgramFolderHoldsThisExecutable) {
    platform::FilesWin32 files;
    const std::string folder = files.programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(files.exists(folder + "\\tav_windows_unit_tests.exe")) << folder;
    EXPECT_EQ(files.separator(), '\\');
}

TEST(Win32Files, FolderOfPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\TAV\\TAVDashboard.exe", "C:\\Program Files\\TAV"},
        {"C:\\TAVDashboard.exe", "C:\\"},
        {"Z:\\tmp\\x\\TAVDashboard.exe", "Z:\\tmp\\x"},
        {"\\\\server\\share\\TAVDashboard.exe", "\\\\server\\share"},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(platform::FolderOfPath(path), folder) << path;
}

TEST(Win32Clock, ShortDateFormatOfLocales) {
    // Leading zeros of some locales differ between Windows versions and Wine: those are not checked.
    struct Case {
        const wchar_t* locale;
        Order order;
        const char* separator;
        std::optional<bool> padded;
    };
    const Case cases[] = {
        {L"en-US", Order::MonthDayYear, "/", false},
        {L"en-GB", Order::DayMonthYear, "/", true},
        {L"de-DE", Order::DayMonthYear, ".", std::nullopt},
        {L"sv-SE", Order::YearMonthDay, "-", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::Narrow(c.locale));
        const ShortDateFormat f = platform::ShortDateFormatOfLocale(c.locale);
        EXPECT_EQ(f.order, c.order);
        EXPECT_EQ(f.separator, c.separator);
        if (c.padded) {
            EXPECT_EQ(f.padDay, *c.padded);
            EXPECT_EQ(f.padMonth, *c.padded);
        }
    }
}

TEST(Win32Clock, UsesTheUsersLocaleAndLocalTime) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
    platform::ClockWin32 clock;
    EXPECT_EQ(clock.shortDateFormat(), platform::ShortDateFormatOfLocale(name));
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    const platform::LocalTime now = clock.now();
    GetLocalTime(&after);
    EXPECT_TRUE(now.date == platform::Date::fromYmd(before.wYear, before.wMonth, before.wDay) ||
                now.date == platform::Date::fromYmd(after.wYear, after.wMonth, after.wDay));
    EXPECT_GE(now.hour, 0);
    EXPECT_LT(now.hour, 24);
}

TEST(Win32Processes, WindowModesMapToShowCommands) {
    const std::pair<platform::WindowMode, int> cases[] = {
        {platform::WindowMode::Hidden, SW_HIDE},
        {platform::WindowMode::Normal, SW_SHOWNORMAL},
        {platform::WindowMode::Minimized, SW_SHOWMINIMIZED},
        {platform::WindowMode::MinimizedNoActivate, SW_SHOWMINNOACTIVE},
    };
    for (const auto& [mode, show] : cases) EXPECT_EQ(platform::ShowCommandOf(mode), show);
}

TEST(Win32Processes, StartsWithoutWaitingAndReportsFailure) {
    TempFolder dir;
    platform::ProcessesWin32 processes;
    const std::string marker = dir.path + "\\started.txt";
    ASSERT_TRUE(processes.start("cmd.exe /c echo started> \"" + marker + "\"", platform::WindowMode::Hidden));
    platform::FilesWin32 files;
    // The started program runs on its own; wait until it has written its file.
    for (int i = 0; i < 200 && !files.exists(marker); ++i) Sleep(50);
    EXPECT_TRUE(files.exists(marker));
    EXPECT_FALSE(processes.start("tav-no-such-program.exe", platform::WindowMode::Normal));
    EXPECT_FALSE(processes.start("", platform::WindowMode::Normal));
    for (int i = 0; i < 100 && !DeleteFileW(platform::Widen(marker).c_str()); ++i) Sleep(50);
}

TEST(Win32SessionStart, CreatesTheTaskThenRunsTheScriptMinimised) {
    fakes::FakeProcesses processes;
    platform::SessionStartWin32 start(processes);
    start.registerAtLogon();
    ASSERT_EQ(processes.started.size(), 2u);
    EXPECT_EQ(processes.started[0].commandLine, "cmd.exe /c SCHTASKS /Create /TN \"TAV Dashboard\" /XML task.xml /F");
    EXPECT_EQ(processes.started[1].commandLine, "cmd.exe /c maketask.vbs");
    for (const auto& s : processes.started) EXPECT_EQ(s.mode, platform::WindowMode::Minimized);
}

TEST(Win32Instance, HiddenApplicationWindowIsFoundByClassAndTitleAndRetitled) {
    const std::string title = "TAVDashboard-test-" + std::to_string(GetCurrentProcessId());
    platform::InstanceWindowsWin32 instance(title);
    const HWND own = instance.applicationWindow();
    ASSERT_NE(own, nullptr);
    EXPECT_FALSE(IsWindowVisible(own));
    EXPECT_EQ(GetParent(own), nullptr);
    EXPECT_EQ(instance.findWindow("ThunderRT6Main", title), reinterpret_cast<platform::WindowHandle>(own));
    EXPECT_EQ(FindWindowA("ThunderRT6Main", title.c_str()), own);
    EXPECT_EQ(instance.findWindow("ThunderRT5Main", title), 0u);

    instance.setApplicationTitle("unwanted instance");
    EXPECT_EQ(FindWindowA("ThunderRT6Main", title.c_str()), nullptr);
    char text[64] = {};
    GetWindowTextA(own, text, sizeof text);
    EXPECT_STREQ(text, "unwanted instance");
}

TEST(Win32Instance, OnlyTheFirstInstanceOfTheUserRunsFirst) {
    EXPECT_EQ(platform::InstanceMutexName().rfind("Local\\TAVDashboard-", 0), 0u);
    platform::InstanceWindowsWin32 first("TAVDashboard-first");
    platform::InstanceWindowsWin32 second("TAVDashboard-second");
    EXPECT_FALSE(first.earlierInstanceRunning());
    EXPECT_TRUE(second.earlierInstanceRunning());
}

// An earlier instance's mutex that this process may not open (an elevated earlier instance)
// still tells that an instance runs.
TEST(Win32Instance, CreateMutexOutcomeTellsOfAnEarlierInstance) {
    struct Case {
        bool gotHandle;
        DWORD error;
        bool earlier;
    };
    const Case cases[] = {
        {true, ERROR_SUCCESS, false},
        {true, ERROR_ALREADY_EXISTS, true},
        {false, ERROR_ACCESS_DENIED, true},
        {false, ERROR_INVALID_HANDLE, false},  // the name belongs to another kind of object
        {false, ERROR_NOT_ENOUGH_MEMORY, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::EarlierInstanceFromCreateMutex(c.gotHandle, c.error), c.earlier)
            << c.gotHandle << " " << c.error;
    }
}

TEST(Win32Instance, WindowAboveFollowsTheZOrder) {
    platform::InstanceWindowsWin32 instance("TAVDashboard-zorder");
    HWND app = instance.applicationWindow();
    HWND shown = CreateWindowExA(0, "STATIC", "shown", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(shown, nullptr);
    SetWindowPos(app, shown, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(instance.windowAbove(reinterpret_cast<platform::WindowHandle>(app)),
              reinterpret_cast<platform::WindowHandle>(shown));
    DestroyWindow(shown);
}

}  // namespace

// The download check takes this build's real programs, and refuses them cut short.
TEST(Win32UpdateCheck, RealProgramsOfThisBuildAreWhole) {
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    platform::FilesWin32 files;
    const std::string me = platform::Narrow(self);
    // This test program (with symbols) and the shipped program beside it (stripped).
    for (const std::string& path : {me, platform::FolderOfPath(me) + "\\TAVDashboard.exe"}) {
        const auto bytes = files.read(path);
        ASSERT_TRUE(bytes && bytes->size() > 4096) << path;
        EXPECT_TRUE(update::IsProgramForThisBuild(*bytes)) << path;
        EXPECT_FALSE(update::IsProgramForThisBuild(bytes->substr(0, bytes->size() - 1000))) << path;
    }
}

namespace {

TEST(Win32Crypto, DigestsAndTheStoresSignatures) {
    platform::CryptoWin32 crypto;
    fakes::CheckPlatformCrypto(crypto);
}

}  // namespace
