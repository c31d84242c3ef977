// The drive letters A: to Z: through the drive calls of Windows.
#pragma once
#include "platform/drives.h"

namespace platform {

class DrivesWin32 : public Drives {
public:
    std::vector<std::string> roots() override;
    uint32_t driveType(const std::string& root) override;
    void remoteName(const std::string& root, std::string& buffer, uint32_t length) override;
    DiskSpace freeSpace(const std::string& root) override;
};

}  // namespace platform
