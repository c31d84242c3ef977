#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "inventory/frm_sysinfo.h"
#include "platform/linux/drives_linux.h"
#include "platform/linux/management_linux.h"
#include "support/fake_host.h"
#include "support/fake_platform.h"
#include "ui/application.h"

namespace fs = std::filesystem;
using platform::ManagementLinux;
using platform::Property;

namespace {

// A file-system tree under a temporary folder, standing in for / in the service's reads.
class Tree {
public:
    Tree() {
        char pattern[] = "/tmp/tav-tree-XXXXXX";
        root = mkdtemp(pattern);
    }
    ~Tree() { fs::remove_all(root); }
    void write(const std::string& path, const std::string& content) {
        const fs::path p = fs::path(root) / path;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }
    std::string root;
};

// An SMBIOS structure: its formatted area (type, length, handle, then the given bytes from
// offset 4, padded to the length) and its strings.
std::string Smbios(int type, size_t length, std::vector<std::pair<size_t, unsigned>> words,
                   std::vector<std::pair<size_t, unsigned char>> bytes, std::vector<std::string> strings) {
    std::string raw(length, '\0');
    raw[0] = static_cast<char>(type);
    raw[1] = static_cast<char>(length);
    for (auto [at, v] : words) {
        raw[at] = static_cast<char>(v & 0xFF);
        raw[at + 1] = static_cast<char>(v >> 8);
    }
    for (auto [at, v] : bytes) raw[at] = static_cast<char>(v);
    for (const std::string& s : strings) raw += s + '\0';
    raw += '\0';
    return raw;
}

std::string Value(const platform::ManagementRecord& r, const std::string& name) {
    auto it = r.find(name);
    if (it == r.end() || it->second.state == Property::State::Missing) return "<missing>";
    if (it->second.state == Property::State::Null) return "<null>";
    return it->second.text;
}

void Cpu(Tree& t, int n, int package, int core) {
    const std::string dir = "sys/devices/system/cpu/cpu" + std::to_string(n) + "/topology/";
    t.write(dir + "physical_package_id", std::to_string(package) + "\n");
    t.write(dir + "core_id", std::to_string(core) + "\n");
}

TEST(LinuxManagement, OperatingSystemFromOsRelease) {
    Tree t;
    t.write("etc/os-release", "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n");
    auto os = ManagementLinux(t.root).instancesOf("Win32_OperatingSystem", {"Caption"});
    ASSERT_TRUE(os && os->size() == 1);
    EXPECT_EQ(Value(os->front(), "Caption"), "Debian GNU/Linux 12 (bookworm)");
}

TEST(LinuxManagement, ProcessorsArePackagesWithTheirCoresAndThreads) {
    Tree t;
    std::string cpuinfo;
    for (int n = 0; n < 8; ++n) {
        cpuinfo += "processor\t: " + std::to_string(n) + "\nmodel name\t: " + (n < 4 ? "Xeon A" : "Xeon B") + "\n\n";
        Cpu(t, n, n / 4, (n % 4) / 2);  // two packages of two cores with two threads each
    }
    t.write("proc/cpuinfo", cpuinfo);
    const std::vector<std::string> props = {"Name", "socketdesignation", "numberofcores", "numberoflogicalprocessors"};

    auto cpus = ManagementLinux(t.root).instancesOf("Win32_Processor", props);
    ASSERT_TRUE(cpus && cpus->size() == 2);
    EXPECT_EQ(Value((*cpus)[0], "Name"), "Xeon A");
    EXPECT_EQ(Value((*cpus)[0], "socketdesignation"), "CPU 1");  // no SMBIOS tables readable
    EXPECT_EQ(Value((*cpus)[0], "numberofcores"), "2");
    EXPECT_EQ(Value((*cpus)[0], "numberoflogicalprocessors"), "4");
    EXPECT_EQ(Value((*cpus)[1], "Name"), "Xeon B");
    EXPECT_EQ(Value((*cpus)[1], "socketdesignation"), "CPU 2");

    t.write("sys/firmware/dmi/entries/4-0/raw", Smbios(4, 0x1A, {}, {{4, 1}}, {"Socket P0"}));
    t.write("sys/firmware/dmi/entries/4-1/raw", Smbios(4, 0x1A, {}, {{4, 1}}, {"Socket P1"}));
    cpus = ManagementLinux(t.root).instancesOf("Win32_Processor", props);
    ASSERT_TRUE(cpus && cpus->size() == 2);
    EXPECT_EQ(Value((*cpus)[0], "socketdesignation"), "Socket P0");
    EXPECT_EQ(Value((*cpus)[1], "socketdesignation"), "Socket P1");
}

TEST(LinuxManagement, MemoryModulesFromSmbios) {
    Tree t;
    // 8 GB at a configured 2400 (rated 3200), an empty slot, and 32 GB in the extended size field.
    t.write("sys/firmware/dmi/entries/17-0/raw", Smbios(17, 0x28, {{0x0C, 8192}, {0x15, 3200}, {0x20, 2400}}, {}, {"DIMM 0"}));
    t.write("sys/firmware/dmi/entries/17-1/raw", Smbios(17, 0x28, {{0x0C, 0}}, {}, {"DIMM 1"}));
    t.write("sys/firmware/dmi/entries/17-2/raw",
            Smbios(17, 0x28, {{0x0C, 0x7FFF}, {0x1C, 32768}, {0x1E, 0}}, {}, {"DIMM 2"}));
    t.write("proc/meminfo", "MemTotal:       24683676 kB\n");
    auto modules = ManagementLinux(t.root).instancesOf("Win32_PhysicalMemory", {"capacity", "speed"});
    ASSERT_TRUE(modules && modules->size() == 2);
    EXPECT_EQ(Value((*modules)[0], "capacity"), "8589934592");
    EXPECT_EQ(Value((*modules)[0], "speed"), "2400");
    EXPECT_EQ(Value((*modules)[1], "capacity"), "34359738368");
    EXPECT_EQ(Value((*modules)[1], "speed"), "<null>");
}

TEST(LinuxManagement, MemoryWithoutSmbiosIsOneModuleOfTheInstalledTotal) {
    Tree t;
    t.write("proc/meminfo", "MemTotal:       24683676 kB\nMemFree:        22036732 kB\n");
    auto modules = ManagementLinux(t.root).instancesOf("Win32_PhysicalMemory", {"capacity", "speed"});
    ASSERT_TRUE(modules && modules->size() == 1);
    EXPECT_EQ(Value((*modules)[0], "capacity"), "25769803776");  // 24 GB, not 23.5
    EXPECT_EQ(Value((*modules)[0], "speed"), "<missing>");

    struct Case {
        long long kib;
        double gib;
    } cases[] = {{7969000, 8}, {8388608, 8}, {8388609, 9}, {1000, 1}, {16303000, 16}};
    for (const Case& c : cases) EXPECT_EQ(platform::InstalledMemoryBytes(c.kib), c.gib * 1024 * 1024 * 1024) << c.kib;
}

TEST(LinuxManagement, DiskDrivesFromSysBlock) {
    Tree t;
    for (const char* virt : {"loop0", "ram0", "zram0", "dm-0"}) t.write(std::string("sys/block/") + virt + "/size", "1024\n");
    t.write("sys/block/sda/size", "976773168\n");
    t.write("sys/block/sda/removable", "0\n");
    t.write("sys/block/sda/device/vendor", "ATA     \n");
    t.write("sys/block/sda/device/model", "WDC WD5000AAKX  \n");
    t.write("sys/block/sdb/size", "0\n");  // a card reader without a card
    t.write("sys/block/sdb/removable", "1\n");
    t.write("sys/block/sdb/device/model", "SD Reader\n");
    t.write("sys/block/nvme0n1/size", "1000215216\n");
    t.write("sys/block/nvme0n1/device/model", "Samsung SSD 970\n");
    t.write("sys/block/vda/size", "536870912\n");  // a virtual machine's disk: a PCI number as vendor
    t.write("sys/block/vda/device/vendor", "0x1af4\n");
    auto disks = ManagementLinux(t.root).instancesOf("Win32_DiskDrive", {"Size", "Caption"});
    ASSERT_TRUE(disks && disks->size() == 4);
    EXPECT_EQ(Value((*disks)[0], "Caption"), "Samsung SSD 970");
    EXPECT_EQ(Value((*disks)[0], "Size"), "512110190592");
    EXPECT_EQ(Value((*disks)[1], "Caption"), "WDC WD5000AAKX");
    EXPECT_EQ(Value((*disks)[1], "Size"), "500107862016");
    EXPECT_EQ(Value((*disks)[2], "Caption"), "SD Reader");
    EXPECT_EQ(Value((*disks)[2], "Size"), "<null>");
    EXPECT_EQ(Value((*disks)[3], "Caption"), "Virtual disk vda");
    EXPECT_EQ(Value((*disks)[3], "Size"), "274877906944");
}

TEST(LinuxManagement, AdaptersAndTheirConfiguration) {
    Tree t;
    t.write("sys/class/net/lo/address", "00:00:00:00:00:00\n");
    t.write("sys/class/net/enp1s0/address", "52:54:00:12:34:56\n");
    t.write("sys/class/net/wg0/address", "\n");
    ManagementLinux wmi(t.root);
    auto adapters = wmi.instancesOf("Win32_NetworkAdapter", {});
    ASSERT_TRUE(adapters);
    EXPECT_EQ(adapters->size(), 2u);
    const std::vector<std::string> props = {"Description", "MACAddress"};
    auto first = wmi.object("Win32_NetworkAdapterConfiguration=0", props);
    ASSERT_TRUE(first);
    EXPECT_EQ(Value(*first, "Description"), "enp1s0");
    EXPECT_EQ(Value(*first, "MACAddress"), "52:54:00:12:34:56");
    auto second = wmi.object("Win32_NetworkAdapterConfiguration=1", props);
    ASSERT_TRUE(second);
    EXPECT_EQ(Value(*second, "MACAddress"), "<null>");
    EXPECT_FALSE(wmi.object("Win32_NetworkAdapterConfiguration=2", props));
    EXPECT_FALSE(wmi.instancesOf("Win32_Battery", {}));
}

TEST(LinuxDrives, RealFileSystemsInMountOrder) {
    const std::string table =
        "proc /proc proc rw 0 0\n"
        "/dev/nosuch1 /nosuch/root ext4 rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
        "overlay /var/lib/docker/x overlay rw 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "/dev/nosuch2 /nosuch/media/My\\040Stick vfat rw 0 0\n"
        "server:/export /nosuch/net nfs4 rw 0 0\n"
        "/dev/nosuch1 /nosuch/bind ext4 rw 0 0\n";
    std::vector<std::string> points;
    for (const auto& m : platform::RealMounts(table)) points.push_back(m.point + " " + m.type);
    EXPECT_EQ(points, (std::vector<std::string>{"/nosuch/root ext4", "/nosuch/media/My Stick vfat", "/nosuch/net nfs4"}));
}

TEST(LinuxDrives, TypeFromTheFileSystemAndTheDevice) {
    using platform::Mount;
    namespace dt = platform::drive_type;
    struct Case {
        Mount mount;
        bool removable;
        uint32_t type;
    } cases[] = {
        {{"server:/export", "/mnt/a", "nfs"}, false, dt::kRemote},
        {{"//nas/share", "/mnt/b", "cifs"}, false, dt::kRemote},
        {{"//nas/share", "/mnt/c", "smb3"}, false, dt::kRemote},
        {{"me@host:", "/mnt/d", "fuse.sshfs"}, false, dt::kRemote},
        {{"/dev/sr0", "/media/cd", "iso9660"}, true, dt::kCdRom},
        {{"/dev/sr0", "/media/dvd", "udf"}, true, dt::kCdRom},
        {{"/dev/sdb1", "/media/stick", "vfat"}, true, dt::kRemovable},
        {{"/dev/sda1", "/", "ext4"}, false, dt::kFixed},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::DriveTypeOf(c.mount, c.removable), c.type) << c.mount.type;
}

// The counts keep each value within 32 bits signed, and the gigabytes come out as statvfs says.
TEST(LinuxDrives, FreeSpaceCountsOfLargeVolumes) {
    struct Case {
        unsigned long block;
        unsigned long long blocks, free;
    } cases[] = {{4096, 122096646, 31457280}, {4096, 1ull << 33, 1ull << 32}, {512, 1ull << 36, 12345}, {65536, 1000, 10}};
    for (const Case& c : cases) {
        const platform::DiskSpace s = platform::DiskSpaceOf(c.block, c.blocks, c.free);
        ASSERT_EQ(s.result, 1);
        const double bytesPerCluster = static_cast<double>(s.sectorsPerCluster) * s.bytesPerSector;
        EXPECT_GT(s.totalClusters, 0);
        EXPECT_NEAR(s.totalClusters * bytesPerCluster, static_cast<double>(c.blocks) * c.block, bytesPerCluster);
        EXPECT_NEAR(s.freeClusters * bytesPerCluster, static_cast<double>(c.free) * c.block, bytesPerCluster);
    }
}

TEST(LinuxDrives, PathThatIsNoMountHasNoRemoteNameAndNoRootDirectory) {
    platform::DrivesLinux drives;
    // Only the machine's own mounts are known: a path that is not a mount point has no name.
    std::string buffer(255, ' ');
    drives.roots();
    drives.remoteName("/no/such/mount", buffer, 254);
    EXPECT_EQ(buffer, std::string(255, ' '));
    EXPECT_EQ(drives.driveType("/no/such/mount"), platform::drive_type::kNoRootDir);
}

// The real services on this machine, through the inventory window.
class MachineSummary : public ::testing::Test {
protected:
    MachineSummary() : application(std::make_unique<ui::Application>(host)) {
        ui::setApp(application.get());
        platform::services().management = &management;
        platform::services().drives = &drives;
        inventory::frmSysInfo& f = application->form<inventory::frmSysInfo>();
        f.Load();
        f.GetAllData();
    }
    ~MachineSummary() override { application.reset(); }
    inventory::frmSysInfo& info() { return application->form<inventory::frmSysInfo>(); }

    fakes::FakePlatform os;  // the clock: a point for the decimal separator
    fakes::FakeHost host;
    std::unique_ptr<ui::Application> application;
    platform::ManagementLinux management;
    platform::DrivesLinux drives;
};

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

TEST_F(MachineSummary, AgreesWithTheMachine) {
    EXPECT_EQ(info().text2.text(), Shell(". /etc/os-release && printf '%s' \"$PRETTY_NAME\""));

    std::smatch m;
    const std::string cpu = info().text3.text();
    ASSERT_TRUE(std::regex_match(cpu, m, std::regex(R"((.+) \((.+)\), C: (\d+), T: (\d+), S: (.+))"))) << cpu;
    EXPECT_EQ(m[2].str(), m[5].str());
    EXPECT_EQ(m[4].str(), Shell("nproc --all"));  // one package here

    const std::string memory = info().text4.text();
    ASSERT_TRUE(std::regex_match(memory, m, std::regex(R"((\d+)GB @ (\d+)Mhz \((\d+GB(, \d+GB)*)\))"))) << memory;
    const double memTotalGiB = std::stod(Shell("awk '/^MemTotal:/ {print $2}' /proc/meminfo")) / 1024 / 1024;
    const double shown = std::stod(m[1].str());
    EXPECT_GE(shown, std::floor(memTotalGiB)) << memory;
    EXPECT_LE(shown, std::ceil(memTotalGiB) + 1) << memory;

    const std::string drives = info().text5.text();
    ASSERT_TRUE(std::regex_search(drives, m, std::regex("(^|\r\n)/\tSize = (\\d+) GB\tFree = (\\d+) GB\tFHD\r\n"))) << drives;
    const double dfGiB = std::stod(Shell("df --output=size -B1 / | tail -1")) / (1024.0 * 1024 * 1024);
    EXPECT_NEAR(std::stod(m[2].str()), dfGiB, 1.0);
    // Every line ends with CR LF, and no pseudo file system is listed.
    EXPECT_EQ(drives.substr(drives.size() - 2), "\r\n");
    EXPECT_EQ(drives.find("/proc"), std::string::npos);
    EXPECT_EQ(drives.find("/sys"), std::string::npos);
}

}  // namespace
