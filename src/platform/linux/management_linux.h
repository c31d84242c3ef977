// The management queries on Linux, from what a normal user can read: /etc/os-release,
// /proc/cpuinfo and the CPU topology in /sys, the SMBIOS tables where they are readable,
// /proc/meminfo, /sys/block and /sys/class/net.
#pragma once
#include <string>

#include "platform/management.h"

namespace platform {

class ManagementLinux : public Management {
public:
    // root: where the file system starts ("/"), so a test can point it at a fixture tree.
    explicit ManagementLinux(std::string root = "/");
    std::optional<std::vector<ManagementRecord>> instancesOf(const std::string& className,
                                                             const std::vector<std::string>& properties) override;
    bool instancesOfAsync(const std::string& className, std::function<void()> onInstance) override;
    std::optional<ManagementRecord> object(const std::string& path, const std::vector<std::string>& properties) override;

private:
    std::vector<ManagementRecord> operatingSystems();
    std::vector<ManagementRecord> processors();
    std::vector<ManagementRecord> memoryModules();
    std::vector<ManagementRecord> diskDrives();
    std::vector<std::string> adapters();
    std::string root_;
};

// The installed memory that a total seen by the kernel stands for: whole gigabytes, rounded up
// (the kernel keeps a little for itself, so 7.6 GB seen is 8 GB installed).
double InstalledMemoryBytes(long long memTotalKiB);

}  // namespace platform
