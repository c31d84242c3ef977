// The volumes of the machine, as the drive calls of Windows see them: type, size and free
// space, and the remote name of a network drive.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Drive types, as GetDriveType numbers them.
namespace drive_type {
inline constexpr uint32_t kUnknown = 0, kNoRootDir = 1, kRemovable = 2, kFixed = 3, kRemote = 4, kCdRom = 5,
                          kRamDisk = 6;
}

// The counts of GetDiskFreeSpace, each taken as a signed 32-bit integer.
struct DiskSpace {
    int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    int32_t result = 0;  // 1: the call succeeded
};

class Drives {
public:
    virtual ~Drives() = default;
    // The root paths to list, in order: "A:\" to "Z:\" on Windows, mount points on Linux.
    virtual std::vector<std::string> roots() = 0;
    virtual uint32_t driveType(const std::string& root) = 0;
    // Writes the remote name of a network drive into the buffer (its length is the room the
    // call may use), ended by NUL; leaves the buffer as it is when there is none.
    virtual void remoteName(const std::string& root, std::string& buffer, uint32_t length) = 0;
    virtual DiskSpace freeSpace(const std::string& root) = 0;
};

}  // namespace platform
