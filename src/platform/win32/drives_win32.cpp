#include "platform/win32/drives_win32.h"

#include <windows.h>
#include <winnetwk.h>

namespace platform {

std::vector<std::string> DrivesWin32::roots() {
    std::vector<std::string> roots;
    for (char letter = 'A'; letter <= 'Z'; ++letter) roots.push_back(std::string(1, letter) + ":\\");
    return roots;
}

uint32_t DrivesWin32::driveType(const std::string& root) { return GetDriveTypeA(root.c_str()); }

// The call's own result is not needed: without a connection the buffer stays as it was.
void DrivesWin32::remoteName(const std::string& root, std::string& buffer, uint32_t length) {
    if (buffer.size() < length) return;
    DWORD room = length;
    WNetGetConnectionA(root.substr(0, 2).c_str(), buffer.data(), &room);
}

DiskSpace DrivesWin32::freeSpace(const std::string& root) {
    // An empty floppy, card-reader or CD drive must fail quietly, not ask the user for a disk.
    DWORD previousMode = 0;
    const BOOL quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    DiskSpace space;
    space.result = GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
    if (quiet) SetThreadErrorMode(previousMode, nullptr);
    space.sectorsPerCluster = static_cast<int32_t>(sectorsPerCluster);
    space.bytesPerSector = static_cast<int32_t>(bytesPerSector);
    space.freeClusters = static_cast<int32_t>(freeClusters);
    space.totalClusters = static_cast<int32_t>(totalClusters);
    return space;
}

}  // namespace platform
