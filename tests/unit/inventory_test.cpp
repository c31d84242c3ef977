#include <gtest/gtest.h>

#include "inventory/frm_sysinfo.h"
#include "inventory/summary_format.h"
#include "support/dashboard_fixture.h"

namespace {

using inventory::frmSysInfo;
using platform::DiskSpace;
using platform::ManagementRecord;
using platform::Property;
namespace drive_type = platform::drive_type;

const Property kMissing{};

class Inventory : public fakes::DashboardTest {
protected:
    frmSysInfo& info() { return ui::app().form<frmSysInfo>(); }
    // The collection as the dashboard starts it.
    frmSysInfo& collect() {
        frmSysInfo& f = info();
        f.Load();
        f.Text7.setText("0");
        f.Text8.setText("");
        f.GetAllData();
        return f;
    }
    void processors(std::vector<ManagementRecord> cpus) { os.management.classes["Win32_Processor"] = std::move(cpus); }
    void modules(std::vector<ManagementRecord> m) { os.management.classes["Win32_PhysicalMemory"] = std::move(m); }
    void disks(std::vector<ManagementRecord> d) { os.management.classes["Win32_DiskDrive"] = std::move(d); }
    void volume(const std::string& root, uint32_t type, DiskSpace space, std::string remote = "") {
        os.drives.order.push_back(root);
        os.drives.volumes[root] = {type, space, std::move(remote)};
    }
};

ManagementRecord Cpu(Property name, Property socket, Property cores, Property threads) {
    return {{"Name", name}, {"socketdesignation", socket}, {"numberofcores", cores}, {"numberoflogicalprocessors", threads}};
}

ManagementRecord Module(double megabytes, Property speed) {
    char bytes[32];
    std::snprintf(bytes, sizeof bytes, "%.0f", megabytes * 1024 * 1024);
    return {{"capacity", Property::Of(bytes)}, {"speed", speed}};
}

ManagementRecord Disk(Property size, Property caption) { return {{"Size", size}, {"Caption", caption}}; }

// A fixed disk of 4096-byte clusters (8 sectors of 512 bytes).
DiskSpace Clusters(int32_t total, int32_t free) { return {8, 512, free, total, 1}; }

struct ProcessorCase {
    const char* name;
    std::vector<ManagementRecord> cpus;
    std::string text;
};

class ProcessorText : public Inventory, public ::testing::WithParamInterface<ProcessorCase> {};

TEST_P(ProcessorText, FromTheProcessorInstances) {
    processors(GetParam().cpus);
    EXPECT_EQ(collect().text3.text(), GetParam().text);
}

const auto P = Property::Of;

INSTANTIATE_TEST_SUITE_P(
    Cases, ProcessorText,
    ::testing::Values(
        ProcessorCase{"OneProcessor", {Cpu(P("X"), P("CPU 1"), P("2"), P("4"))}, "X (CPU 1), C: 2, T: 4, S: CPU 1"},
        // Each part is skipped on its own: no core count, no ", C: " part.
        ProcessorCase{"NoCoreCount", {Cpu(P("X"), P("CPU 1"), kMissing, P("4"))}, "X (CPU 1), T: 4, S: CPU 1"},
        // Without a socket designation (Windows under Wine) the name part and the socket part go.
        ProcessorCase{"NoSocket", {Cpu(P("X"), kMissing, P("2"), P("4"))}, ", C: 2, T: 4"},
        // A property without a value adds an empty text.
        ProcessorCase{"SocketWithoutValue", {Cpu(P("X"), Property::Null(), P("2"), P("4"))}, "X (), C: 2, T: 4, S: "},
        ProcessorCase{"TwoProcessors",
                      {Cpu(P("X"), P("CPU 1"), P("2"), P("4")), Cpu(P("Y"), P("CPU 2"), P("8"), P("16"))},
                      "X (CPU 1), C: 2, T: 4, S: CPU 1Y (CPU 2), C: 8, T: 16, S: CPU 2"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MemoryCase {
    const char* name;
    std::vector<ManagementRecord> modules;
    std::string text;
};

class MemoryText : public Inventory, public ::testing::WithParamInterface<MemoryCase> {};

TEST_P(MemoryText, FromTheMemoryModules) {
    modules(GetParam().modules);
    EXPECT_EQ(collect().text4.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoryText,
    ::testing::Values(
        MemoryCase{"TwoEqualModules", {Module(4096, P("1600")), Module(4096, P("1600"))}, "8GB @ 1600Mhz (4GB, 4GB)"},
        MemoryCase{"SpeedOfTheLastModule", {Module(8192, P("2133")), Module(4096, P("2400"))},
                   "12GB @ 2400Mhz (8GB, 4GB)"},
        // A module without a speed leaves the previous module's, or 0.
        MemoryCase{"LastSpeedMissing", {Module(8192, P("2400")), Module(4096, kMissing)}, "12GB @ 2400Mhz (8GB, 4GB)"},
        MemoryCase{"NoSpeedAtAll", {Module(8192, kMissing)}, "8GB @ 0Mhz (8GB)"},
        MemoryCase{"SpeedWithoutValue", {Module(8192, Property::Null())}, "8GB @ 0Mhz (8GB)"},
        // "#" rounds halves away from zero, and writes a zero as nothing.
        MemoryCase{"HalfAGigabyte", {Module(512, P("400"))}, "1GB @ 400Mhz (1GB)"},
        MemoryCase{"QuarterGigabyte", {Module(256, P("400"))}, "GB @ 400Mhz (GB)"},
        // The 16-bit total drops the addition that would pass 32767 MB.
        MemoryCase{"TotalOverflows", {Module(16384, P("3200")), Module(16384, P("3200"))},
                   "16GB @ 3200Mhz (16GB, 16GB)"},
        // A module without a capacity is left out of the list and the total.
        MemoryCase{"CapacityWithoutValue", {{{"capacity", Property::Null()}, {"speed", P("2400")}}, Module(4096, P("2400"))},
                   "4GB @ 2400Mhz (4GB)"},
        // No module list: the final text cannot be built and the field keeps what it had.
        MemoryCase{"NoModules", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct DiskCase {
    const char* name;
    double bytes;
    std::string separator;
    std::string line;
};

class DiskText : public Inventory, public ::testing::WithParamInterface<DiskCase> {};

// The first five characters of the gigabytes with up to 15 significant digits.
TEST_P(DiskText, SizeInGigabytes) {
    char bytes[32];
    std::snprintf(bytes, sizeof bytes, "%.0f", GetParam().bytes);
    disks({Disk(P(bytes), P("WDC WD5000"))});
    os.clock.decimal = GetParam().separator;
    EXPECT_EQ(collect().text5.text(), GetParam().line);
    EXPECT_EQ(info().Text8.text(), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiskText,
    ::testing::Values(DiskCase{"CutAfterOneDecimal", 500107862016.0, ".", "WDC WD5000 - 465.7 GB\r\n"},
                      DiskCase{"CutAtThePoint", 2000398934016.0, ".", "WDC WD5000 - 1863. GB\r\n"},
                      DiskCase{"TwoDecimals", 15931539456.0, ".", "WDC WD5000 - 14.83 GB\r\n"},
                      DiskCase{"Exact", 4294967296.0, ".", "WDC WD5000 - 4 GB\r\n"},
                      DiskCase{"DecimalComma", 500107862016.0, ",", "WDC WD5000 - 465,7 GB\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Inventory, EmptyCardReaderIsListedAndTheOtherDisksAndDrivesFollow) {
    disks({Disk(P("500107862016"), P("Disk A")), Disk(Property::Null(), P("Card Reader")),
           Disk(P("4294967296"), P("Disk B"))});
    volume("C:\\", drive_type::kFixed, Clusters(122096646, 31457280));
    EXPECT_EQ(collect().text5.text(),
              "Disk A - 465.7 GB\r\nRemovable Drive\r\nDisk B - 4 GB\r\nC:\\\tSize = 466 GB\tFree = 120 GB\tFHD\r\n");
}

TEST_F(Inventory, DiskWithoutCaptionKeepsItsSize) {
    disks({{{"Size", P("500107862016")}}});
    EXPECT_EQ(collect().text5.text(), " - 465.7 GB\r\n");
}

// A failure inside a drive line is written as a removable drive; the next letters still follow.
TEST_F(Inventory, FailingDriveLineIsListedAndTheNextDrivesFollow) {
    volume("A:\\", drive_type::kRemovable, {65536, 65536, 1, 1, 1});  // bytes per cluster overflow
    volume("C:\\", drive_type::kFixed, Clusters(122096646, 31457280));
    EXPECT_EQ(collect().text5.text(), "Removable Drive\r\nC:\\\tSize = 466 GB\tFree = 120 GB\tFHD\r\n");
}

TEST_F(Inventory, QueriesInTheOrderOfTheCollection) {
    collect();
    EXPECT_EQ(os.management.queries,
              (std::vector<std::string>{"Win32_OperatingSystem", "Win32_NetworkAdapter (async)", "Win32_Processor",
                                        "Win32_PhysicalMemory", "Win32_DiskDrive"}));
}

TEST_F(Inventory, OperatingSystemCaption) {
    os.management.classes["Win32_OperatingSystem"] = {{{"Caption", P("Microsoft Windows 10 Pro")}}};
    EXPECT_EQ(collect().text2.text(), "Microsoft Windows 10 Pro");
}

// Without the management service every field says so; the drive lines still come.
TEST_F(Inventory, UnreachableServiceSaysUnavailable) {
    volume("C:\\", drive_type::kFixed, Clusters(122096646, 31457280));
    frmSysInfo& f = collect();
    EXPECT_EQ(f.text2.text(), "Information unavailable");
    EXPECT_EQ(f.text3.text(), "Information unavailable");
    EXPECT_EQ(f.text4.text(), "Information unavailable");
    EXPECT_EQ(f.text5.text(), "C:\\\tSize = 466 GB\tFree = 120 GB\tFHD\r\n");
}

TEST_F(Inventory, AdaptersAdvanceTheCounterFromTheEventLoop) {
    os.management.classes["Win32_NetworkAdapter"] = {{}, {}, {}};
    os.management.objects["Win32_NetworkAdapterConfiguration=0"] = {{"Description", P("Ethernet")},
                                                                    {"MACAddress", P("52:54:00:12:34:56")}};
    os.management.objects["Win32_NetworkAdapterConfiguration=1"] = {{"Description", P("Wi-Fi")},
                                                                    {"MACAddress", Property::Null()}};
    frmSysInfo& f = collect();
    EXPECT_EQ(f.Text7.text(), "0");  // the collection does not wait for the adapters
    os.management.deliver();
    EXPECT_EQ(f.Text7.text(), "3");  // the third adapter has no configuration and still counts
    EXPECT_EQ(os.management.objectsRead,
              (std::vector<std::string>{"Win32_NetworkAdapterConfiguration=0", "Win32_NetworkAdapterConfiguration=1",
                                        "Win32_NetworkAdapterConfiguration=2"}));
}

TEST_F(Inventory, StartUpCopiesTheSummaryIntoTheDashboard) {
    os.management.classes["Win32_OperatingSystem"] = {{{"Caption", P("Debian GNU/Linux 12 (bookworm)")}}};
    processors({Cpu(P("X"), P("CPU 1"), P("2"), P("4"))});
    modules({Module(8192, kMissing)});
    disks({Disk(P("500107862016"), P("QEMU HARDDISK"))});
    volume("/", drive_type::kFixed, Clusters(122096646, 31457280));
    ASSERT_TRUE(startUp());
    EXPECT_EQ(dash().lblOS.caption(), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(dash().lblCPU.caption(), "X (CPU 1), C: 2, T: 4, S: CPU 1");
    EXPECT_EQ(dash().lblMemory.caption(), "8GB @ 0Mhz (8GB)");
    EXPECT_EQ(dash().lblHDD.text(), "QEMU HARDDISK - 465.7 GB\r\n/\tSize = 466 GB\tFree = 120 GB\tFHD\r\n");
    EXPECT_FALSE(info().visible());
}

TEST_F(Inventory, DoItCollectsAfresh) {
    processors({Cpu(P("X"), P("CPU 1"), P("2"), P("4"))});
    frmSysInfo& f = collect();
    f.text3.setText("");
    f.Text7.setText("5");
    f.Command1_Click();
    EXPECT_EQ(f.text3.text(), "X (CPU 1), C: 2, T: 4, S: CPU 1");
    EXPECT_EQ(f.Text7.text(), "0");
}

struct DriveCase {
    const char* name;
    uint32_t type;
    DiskSpace space;
    std::string remote;
    std::string line;
};

class DriveLineCase : public Inventory, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveLineCase, OneLinePerUsableVolume) {
    const DriveCase& c = GetParam();
    volume("Z:\\", c.type, c.space, c.remote);
    EXPECT_EQ(inventory::DriveLine("Z:\\"), c.line);
}

const DiskSpace kDisk = Clusters(122096646, 31457280);

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveLineCase,
    ::testing::Values(
        DriveCase{"FixedDisk", drive_type::kFixed, kDisk, "", "Z:\\\tSize = 466 GB\tFree = 120 GB\tFHD\r\n"},
        DriveCase{"FixedDiskOf512ByteClusters", drive_type::kFixed, {1, 512, 31457280, 122096646, 1}, "",
                  "Z:\\\tSize = 58 GB\tFree = 15 GB\tFHD\r\n"},
        DriveCase{"AlmostFull", drive_type::kFixed, Clusters(122096646, 512), "", "Z:\\\tSize = 466 GB\tFree = 0 GB\tFHD\r\n"},
        DriveCase{"NetworkDrive", drive_type::kRemote, kDisk, "\\\\server\\share",
                  "Z:\\\tSize = 466 GB\tFree = 120 GB\tNET: \\\\server\\share\r\n"},
        DriveCase{"NetworkDriveWithoutRemoteName", drive_type::kRemote, kDisk, "",
                  "Z:\\\tSize = 466 GB\tFree = 120 GB\tNET: " + std::string(255, ' ') + "\r\n"},
        DriveCase{"RamDisk", drive_type::kRamDisk, Clusters(262144, 262144), "", "Z:\\\tSize = 1 GB\tFree = 1 GB\tRAM disk\r\n"},
        DriveCase{"OpticalDisc", drive_type::kCdRom, Clusters(1146880, 0), "", "Z:\\\tSize = 4 GB\tFree = 0 GB\tCD-ROM\r\n"},
        DriveCase{"Removable", drive_type::kRemovable, Clusters(7864320, 7000000), "",
                  "Z:\\\tSize = 30 GB\tFree = 27 GB\tFloppy/Removable\r\n"},
        DriveCase{"TypeUnknown", drive_type::kUnknown, kDisk, "", "Z:\\\tSize = 466 GB\tFree = 120 GB\tDrive type unknown\r\n"},
        DriveCase{"NoRootDirectory", drive_type::kNoRootDir, kDisk, "",
                  "Z:\\\tSize = 466 GB\tFree = 120 GB\tDrive has no root directory\r\n"},
        DriveCase{"OtherType", 7, kDisk, "", "Z:\\\tSize = 466 GB\tFree = 120 GB\tUnknown device\r\n"},
        // An empty slot: the free-space call fails.
        DriveCase{"NoMedium", drive_type::kCdRom, {}, "", ""},
        DriveCase{"CallNotExactlyOne", drive_type::kFixed, {8, 512, 31457280, 122096646, 2}, "", ""},
        // Half a gigabyte rounds to 0 (halves to even) and is left out; a cluster more is listed.
        DriveCase{"HalfAGigabyte", drive_type::kRemovable, Clusters(131072, 0), "", ""},
        DriveCase{"JustOverHalfAGigabyte", drive_type::kRemovable, Clusters(131073, 0), "",
                  "Z:\\\tSize = 1 GB\tFree = 0 GB\tFloppy/Removable\r\n"},
        // 1.5 GB rounds to 2, 2.5 GB to 2 as well.
        DriveCase{"HalvesToEven", drive_type::kFixed, Clusters(655360, 393216), "", "Z:\\\tSize = 2 GB\tFree = 2 GB\tFHD\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Inventory, DriveLineOverflowPropagates) {
    volume("Z:\\", drive_type::kFixed, {65536, 65536, 1, 1, 1});
    EXPECT_THROW(inventory::DriveLine("Z:\\"), std::overflow_error);
}

TEST(TrimAtNull, CutsAtTheFirstNulWithinTheFirst255Characters) {
    struct Case {
        std::string text, trimmed;
    } cases[] = {
        {std::string("\0abc", 4), ""},
        {std::string(255, ' '), std::string(255, ' ')},
        {std::string("\\\\server\\share\0\0   ", 19), "\\\\server\\share"},
        {std::string(255, 'x') + '\0', std::string(255, 'x') + '\0'},  // the 256th position is not looked at
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(inventory::TrimAtNull(text), c.trimmed);
        EXPECT_EQ(text, c.trimmed);
    }
}

TEST(SummaryFormat, WholeAndSignificant) {
    EXPECT_EQ(inventory::FormatWhole(0.5), "1");
    EXPECT_EQ(inventory::FormatWhole(1.5), "2");
    EXPECT_EQ(inventory::FormatWhole(2.5), "3");
    EXPECT_EQ(inventory::FormatWhole(0.49), "");
    EXPECT_EQ(inventory::FormatWhole(16), "16");
    EXPECT_EQ(inventory::FormatSignificant(465.761741399765, "."), "465.761741399765");
    EXPECT_EQ(inventory::FormatSignificant(0.1 + 0.2, ","), "0,3");
    EXPECT_EQ(inventory::FormatSignificant(4, "."), "4");

    struct Case {
        const char* text;
        bool valid;
        double value;
    } cases[] = {{"500107862016", true, 500107862016.0}, {"1863.5", true, 1863.5}, {"", false, 0},
                 {"12 GB", false, 0},       {"1,5", false, 0},          {"0x10", false, 0}};
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(inventory::ParseDecimal(c.text, v), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

}  // namespace
