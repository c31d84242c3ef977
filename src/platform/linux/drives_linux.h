// The volumes on Linux: the mounted real file systems in mount order (from /proc/self/mounts),
// their sizes from statvfs, and their kind from the file system and the device.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/drives.h"

namespace platform {

struct Mount {
    std::string source, point, type;
};

class DrivesLinux : public Drives {
public:
    std::vector<std::string> roots() override;
    uint32_t driveType(const std::string& root) override;
    void remoteName(const std::string& root, std::string& buffer, uint32_t length) override;
    DiskSpace freeSpace(const std::string& root) override;

private:
    std::map<std::string, Mount> mounts_;  // by mount point, as roots() last listed them
};

// The real file systems of a mounts table in its order: pseudo and virtual ones left out, and
// a file system mounted a second time (a bind mount) listed once.
std::vector<Mount> RealMounts(const std::string& mountsTable);

// The drive type of a mounted file system: network, optical, removable or fixed.
uint32_t DriveTypeOf(const Mount& m, bool removableDevice);

// The free-space counts of a volume of the given block size and block counts, in clusters that
// keep every count within 32 bits, as a Windows volume's are.
DiskSpace DiskSpaceOf(unsigned long blockSize, unsigned long long blocks, unsigned long long freeBlocks);

}  // namespace platform
