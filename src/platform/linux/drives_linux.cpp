#include "platform/linux/drives_linux.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>

namespace platform {

namespace {

// File systems that hold no files of the user's: the kernel's views, memory and containers.
const std::set<std::string> kPseudo = {
    "proc",      "sysfs",     "cgroup",     "cgroup2",  "tmpfs",      "devtmpfs",   "overlay",   "squashfs",
    "devpts",    "mqueue",    "securityfs", "debugfs",  "tracefs",    "pstore",     "bpf",       "configfs",
    "fusectl",   "hugetlbfs", "autofs",     "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",      "ramfs",
    "selinuxfs", "nfsd",      "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "zfs_snapshot", "none"};
const std::set<std::string> kNetwork = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "sshfs", "9p"};

// /proc/self/mounts writes blanks and the like in paths as octal escapes ("\040").
std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Whether the block device behind a mount is removable (sysfs "removable" of the disk).
bool RemovableDevice(const std::string& source) {
    struct stat st {};
    if (source.rfind("/dev/", 0) != 0 || stat(source.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return false;
    const std::string dev = "/sys/dev/block/" + std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
    for (const std::string& file : {dev + "/removable", dev + "/../removable"}) {
        std::ifstream in(file);
        int v = 0;
        if (in >> v) return v == 1;
    }
    return false;
}

}  // namespace

std::vector<Mount> RealMounts(const std::string& mountsTable) {
    std::vector<Mount> mounts;
    std::set<dev_t> seen;
    std::set<std::string> seenSources;
    std::istringstream lines(mountsTable);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Mount m;
        if (!(fields >> m.source >> m.point >> m.type)) continue;
        m.source = Unescape(m.source);
        m.point = Unescape(m.point);
        if (kPseudo.count(m.type)) continue;
        // The same file system mounted again (bind mounts of files and folders) is one volume.
        struct stat st {};
        if (stat(m.point.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode) || !seen.insert(st.st_dev).second) continue;
        } else if (!seenSources.insert(m.source).second) {
            continue;
        }
        mounts.push_back(m);
    }
    return mounts;
}

uint32_t DriveTypeOf(const Mount& m, bool removableDevice) {
    if (kNetwork.count(m.type)) return drive_type::kRemote;
    if (m.type == "iso9660" || m.type == "udf") return drive_type::kCdRom;
    if (removableDevice) return drive_type::kRemovable;
    return drive_type::kFixed;
}

DiskSpace DiskSpaceOf(unsigned long blockSize, unsigned long long blocks, unsigned long long freeBlocks) {
    DiskSpace s;
    if (blockSize == 0) return s;
    // Clusters of 2^k blocks, as many as keep the counts within 32 bits signed.
    unsigned long long perCluster = 1;
    while (blocks / perCluster > INT32_MAX && perCluster < (1ull << 20)) perCluster *= 2;
    unsigned long long sector = blockSize, sectors = perCluster;
    // The bytes per cluster must stay within 32 bits as well.
    if (sector * sectors > INT32_MAX) return s;
    s.bytesPerSector = static_cast<int32_t>(sector);
    s.sectorsPerCluster = static_cast<int32_t>(sectors);
    s.totalClusters = static_cast<int32_t>(std::min<unsigned long long>(blocks / perCluster, INT32_MAX));
    s.freeClusters = static_cast<int32_t>(std::min<unsigned long long>(freeBlocks / perCluster, INT32_MAX));
    s.result = 1;
    return s;
}

std::vector<std::string> DrivesLinux::roots() {
    std::ifstream in("/proc/self/mounts");
    std::ostringstream table;
    table << in.rdbuf();
    mounts_.clear();
    std::vector<std::string> roots;
    for (const Mount& m : RealMounts(table.str())) {
        mounts_[m.point] = m;
        roots.push_back(m.point);
    }
    return roots;
}

uint32_t DrivesLinux::driveType(const std::string& root) {
    auto it = mounts_.find(root);
    if (it == mounts_.end()) return drive_type::kNoRootDir;
    return DriveTypeOf(it->second, RemovableDevice(it->second.source));
}

void DrivesLinux::remoteName(const std::string& root, std::string& buffer, uint32_t length) {
    auto it = mounts_.find(root);
    if (it == mounts_.end() || it->second.source.size() + 1 > length || buffer.size() < length) return;
    buffer.replace(0, it->second.source.size() + 1, it->second.source + '\0');
}

// What the user may use counts as free, as it does on Windows with quotas.
DiskSpace DrivesLinux::freeSpace(const std::string& root) {
    struct statvfs v {};
    if (statvfs(root.c_str(), &v) != 0) return {};
    return DiskSpaceOf(v.f_frsize, v.f_blocks, v.f_bavail);
}

}  // namespace platform
