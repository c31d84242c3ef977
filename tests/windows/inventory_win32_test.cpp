#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <regex>

#include "inventory/frm_sysinfo.h"
#include "platform/win32/drives_win32.h"
#include "platform/win32/management_wmi_win32.h"
#include "support/fake_host.h"
#include "support/fake_platform.h"
#include "ui/application.h"

namespace {

using platform::Property;
using State = Property::State;

State StateOf(const platform::ManagementRecord& r, const std::string& name) {
    auto it = r.find(name);
    return it == r.end() ? State::Missing : it->second.state;
}

std::string TextOf(const platform::ManagementRecord& r, const std::string& name) {
    auto it = r.find(name);
    return it == r.end() ? std::string() : it->second.text;
}

bool IsWholeNumber(const std::string& s) { return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos; }

// Handles the messages waiting on this thread for a while: the asynchronous query's instances.
void PumpMessages(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
}

// What this Windows fills, each property a value, null or missing: Wine leaves out the socket,
// the module speed and the disk caption, which the collection must survive.
TEST(Win32Management, ClassesAndPropertiesOfTheSummary) {
    platform::ManagementWmi wmi;
    auto systems = wmi.instancesOf("Win32_OperatingSystem", {"Caption"});
    ASSERT_TRUE(systems);
    ASSERT_EQ(systems->size(), 1u);
    EXPECT_EQ(StateOf(systems->front(), "Caption"), State::Value);
    EXPECT_NE(TextOf(systems->front(), "Caption").find("Windows"), std::string::npos);

    auto cpus = wmi.instancesOf("Win32_Processor", {"Name", "socketdesignation", "numberofcores", "numberoflogicalprocessors"});
    ASSERT_TRUE(cpus);
    ASSERT_FALSE(cpus->empty());
    SYSTEM_INFO si;
    GetNativeSystemInfo(&si);
    long logical = 0;
    for (const auto& cpu : *cpus) {
        EXPECT_EQ(StateOf(cpu, "Name"), State::Value);
        EXPECT_TRUE(IsWholeNumber(TextOf(cpu, "numberofcores"))) << TextOf(cpu, "numberofcores");
        logical += std::stol(TextOf(cpu, "numberoflogicalprocessors"));
    }
    EXPECT_EQ(logical, static_cast<long>(si.dwNumberOfProcessors));

    auto modules = wmi.instancesOf("Win32_PhysicalMemory", {"capacity", "speed"});
    ASSERT_TRUE(modules);
    ASSERT_FALSE(modules->empty());
    double bytes = 0;
    for (const auto& m : *modules) {
        ASSERT_TRUE(IsWholeNumber(TextOf(m, "capacity"))) << TextOf(m, "capacity");
        bytes += std::stod(TextOf(m, "capacity"));
    }
    MEMORYSTATUSEX status{sizeof status};
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    EXPECT_GE(bytes, static_cast<double>(status.ullTotalPhys) * 0.9);

    auto disks = wmi.instancesOf("Win32_DiskDrive", {"Size", "Caption"});
    ASSERT_TRUE(disks);
    for (const auto& d : *disks) EXPECT_NE(StateOf(d, "Size"), State::Missing);

    // A class the service does not know gives no instances (Windows fails the query, Wine
    // answers with none).
    auto unknown = wmi.instancesOf("Win32_NoSuchClass", {"Caption"});
    EXPECT_TRUE(!unknown || unknown->empty());
}

TEST(Win32Management, MissingAndUnknownPropertiesAreMissing) {
    platform::ManagementWmi wmi;
    auto systems = wmi.instancesOf("Win32_OperatingSystem", {"Caption", "NoSuchProperty"});
    ASSERT_TRUE(systems && !systems->empty());
    EXPECT_EQ(StateOf(systems->front(), "NoSuchProperty"), State::Missing);
}

// The adapters arrive through the thread's message loop, one call per adapter, after the
// query has returned.
TEST(Win32Management, AsynchronousAdaptersArriveOnThisThread) {
    platform::ManagementWmi wmi;
    auto adapters = wmi.instancesOf("Win32_NetworkAdapter", {});
    ASSERT_TRUE(adapters);
    const DWORD thread = GetCurrentThreadId();
    size_t calls = 0;
    bool otherThread = false;
    ASSERT_TRUE(wmi.instancesOfAsync("Win32_NetworkAdapter", [&] {
        ++calls;
        otherThread |= GetCurrentThreadId() != thread;
    }));
    EXPECT_EQ(calls, 0u);
    PumpMessages(1500);
    EXPECT_EQ(calls, adapters->size());
    EXPECT_FALSE(otherThread);

    // An adapter's configuration by the short path of its key, as the collection asks for it.
    auto configs = wmi.instancesOf("Win32_NetworkAdapterConfiguration", {"Index"});
    ASSERT_TRUE(configs);
    for (const auto& c : *configs) {
        auto config = wmi.object("Win32_NetworkAdapterConfiguration=" + TextOf(c, "Index"), {"Description", "MACAddress"});
        ASSERT_TRUE(config) << TextOf(c, "Index");
        EXPECT_EQ(StateOf(*config, "Description"), State::Value);
        EXPECT_NE(StateOf(*config, "MACAddress"), State::Missing);
    }
    EXPECT_FALSE(wmi.object("Win32_NetworkAdapterConfiguration=9999", {"Description"}));
}

TEST(Win32Drives, LettersTypesAndSpace) {
    platform::DrivesWin32 drives;
    const auto roots = drives.roots();
    ASSERT_EQ(roots.size(), 26u);
    EXPECT_EQ(roots.front(), "A:\\");
    EXPECT_EQ(roots.back(), "Z:\\");

    EXPECT_EQ(drives.driveType("C:\\"), platform::drive_type::kFixed);
    const platform::DiskSpace c = drives.freeSpace("C:\\");
    ASSERT_EQ(c.result, 1);
    ULARGE_INTEGER total{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", nullptr, &total, nullptr));
    const double bytes = static_cast<double>(c.totalClusters) * c.sectorsPerCluster * c.bytesPerSector;
    EXPECT_NEAR(bytes, static_cast<double>(total.QuadPart), static_cast<double>(c.sectorsPerCluster) * c.bytesPerSector);

    // A letter without a drive: no root directory, and the free-space call fails.
    char missing = 0;
    for (char l = 'Y'; l > 'C' && !missing; --l) {
        if (!(GetLogicalDrives() & (1u << (l - 'A')))) missing = l;
    }
    ASSERT_TRUE(missing);
    const std::string none = std::string(1, missing) + ":\\";
    EXPECT_EQ(drives.driveType(none), platform::drive_type::kNoRootDir);
    EXPECT_NE(drives.freeSpace(none).result, 1);

    // No network connection for a local drive: the buffer stays as it was.
    std::string buffer(255, ' ');
    drives.remoteName("C:\\", buffer, 254);
    EXPECT_EQ(buffer, std::string(255, ' '));
}

// The whole collection with the real services, through the inventory window.
TEST(Win32Summary, CollectionFromTheRealServices) {
    fakes::FakePlatform os;
    fakes::FakeHost host;
    auto application = std::make_unique<ui::Application>(host);
    ui::setApp(application.get());
    platform::ManagementWmi wmi;
    platform::DrivesWin32 drives;
    platform::services().management = &wmi;
    platform::services().drives = &drives;
    inventory::frmSysInfo& info = application->form<inventory::frmSysInfo>();
    info.Load();
    const DWORD start = GetTickCount();
    info.GetAllData();
    std::printf("GetAllData took %lu ms\n", GetTickCount() - start);

    EXPECT_NE(info.text2.text().find("Windows"), std::string::npos) << info.text2.text();
    EXPECT_TRUE(std::regex_match(info.text3.text(), std::regex(R"((.+ \(.*\))?, C: \d+, T: \d+(, S: .*)?)")))
        << info.text3.text();
    EXPECT_TRUE(std::regex_match(info.text4.text(), std::regex(R"(\d*GB @ \d+Mhz \(\d*GB(, \d*GB)*\))")))
        << info.text4.text();
    EXPECT_TRUE(std::regex_search(info.text5.text(), std::regex("(^|\r\n)C:\\\\\tSize = \\d+ GB\tFree = \\d+ GB\tFHD\r\n")))
        << info.text5.text();
    PumpMessages(1000);
    auto adapters = wmi.instancesOf("Win32_NetworkAdapter", {});
    ASSERT_TRUE(adapters);
    EXPECT_EQ(info.Text7.text(), std::to_string(adapters->size()));
    application.reset();
}

}  // namespace
