#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "platform/win32/files_win32.h"
#include "platform/services.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/text_win32.h"
#include "update/batch_files.h"

namespace {

std::string FolderOfThisProgram() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return platform::FolderOfPath(platform::Narrow(self));
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (!done()) {
        if (GetTickCount() > end) return false;
        Sleep(200);
    }
    return true;
}

// The old program never lets go of its file: DeleteOLD.bat tries for about two minutes, then
// removes the download, starts the old program again and deletes itself. Takes two minutes.
TEST(Win32UpdateBatch, LockedProgramIsKeptAndStartedAgain) {
    platform::FilesWin32 files;
    static platform::ProcessesWin32 processes;  // outlives the test: services() keeps a pointer to it
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string folder = std::string(tmp) + "tav batch test " + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(files.makeFolder(folder));
    const auto stub = files.read(FolderOfThisProgram() + "\\tav_stub_program.exe");
    ASSERT_TRUE(stub);
    const std::string old = folder + "\\TAVDashboard.exe", download = folder + "\\TAVDashboardNEW.exe";
    ASSERT_TRUE(files.replace(old, *stub));
    ASSERT_TRUE(files.replace(download, *stub + "new"));

    // The "old program" runs and holds its file.
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION running{};
    std::wstring line = L"\"" + platform::Widen(old) + L"\" hold";
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &running));
    ASSERT_TRUE(WaitFor([&] { return files.exists(old + ".ran"); }, 10000));
    ASSERT_TRUE(files.remove(old + ".ran"));

    const std::string batch = update::PathIn(folder, "DeleteOLD.bat");
    ASSERT_TRUE(files.replace(batch, update::DeleteOldBatch(folder, "TAVDashboard", "TAVDashboardNEW.exe", "TAVDashboard.exe")));
    const DWORD started = GetTickCount();
    platform::services().processes = &processes;
    ASSERT_TRUE(update::StartBatchHidden(batch));
    EXPECT_TRUE(WaitFor([&] { return !files.exists(batch); }, 170000)) << "the batch file never gave up";
    const DWORD took = GetTickCount() - started;
    std::printf("DeleteOLD.bat gave up after %lu s\n", took / 1000);
    EXPECT_FALSE(files.exists(download));
    EXPECT_EQ(files.read(old), stub);
    EXPECT_TRUE(WaitFor([&] { return files.exists(old + ".ran"); }, 10000)) << "the old program was not started again";

    TerminateProcess(running.hProcess, 0);
    WaitForSingleObject(running.hProcess, 5000);
    CloseHandle(running.hThread);
    CloseHandle(running.hProcess);
    Sleep(500);
    files.remove(old + ".ran");
    files.remove(old);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
