#include "inventory/frm_sysinfo.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "app/frm_systray.h"
#include "inventory/summary_format.h"
#include "platform/services.h"
#include "ui/application.h"

namespace inventory {

using platform::Property;
using ui::Rect;

namespace {

const char* const kCrLf = "\r\n";
const char* const kUnavailable = "Information unavailable";

// A step that cannot go on: its property is missing, or a value does not convert.
struct StepFailed : std::exception {};

const Property& Need(const platform::ManagementRecord& r, const std::string& name) {
    auto it = r.find(name);
    if (it == r.end() || it->second.state == Property::State::Missing) throw StepFailed{};
    return it->second;
}

// A property's text where it is appended: a present property without a value adds nothing.
std::string TextOf(const platform::ManagementRecord& r, const std::string& name) { return Need(r, name).text; }

double NumberOf(const std::string& text) {
    double v = 0;
    if (!ParseDecimal(text, v)) throw StepFailed{};
    return v;
}

// Runs one step of the collection: a failing step is skipped and the next one runs.
template <class Step>
void Skippable(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

int32_t RoundHalfEven(double v) {
    const double r = std::nearbyint(v);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) {
        throw std::overflow_error("not a 32-bit integer");
    }
    return static_cast<int32_t>(r);
}

}  // namespace

frmSysInfo::frmSysInfo()
    : ui::Form(kName),
      text2(*this, "text2", Rect{1680, 240, 4695, 285}, "", false),
      text3(*this, "text3", Rect{1680, 600, 4695, 285}, "", false),
      text4(*this, "text4", Rect{1680, 960, 4695, 285}, "", false),
      text5(*this, "text5", Rect{1680, 1320, 4695, 1215}, "", true),
      Text7(*this, "Text7", Rect{1680, 2640, 1215, 285}, "0", false),
      Text8(*this, "Text8", Rect{3000, 2640, 3375, 285}, "", false),
      lblLabels{{{*this, "lblLabels(0)", Rect{120, 240, 1455, 255}, "Os:"},
                 {*this, "lblLabels(1)", Rect{120, 600, 1455, 255}, "Processor Info:"},
                 {*this, "lblLabels(2)", Rect{120, 960, 1455, 255}, "Memory:"},
                 {*this, "lblLabels(3)", Rect{120, 1320, 1455, 255}, "Drives:"}}},
      Command1(*this, "Command1", Rect{5160, 3000, 1215, 375}, "Do it") {
    setCaption("System Information");
    clientWidth = 6600;
    clientHeight = 3600;
    Command1.Click = [this] { Command1_Click(); };
}

void frmSysInfo::Command1_Click() {
    Text7.setText("0");
    Text8.setText("");
    GetAllData();
}

void frmSysInfo::GetAllData() {
    platform::Services& os = platform::services();
    platform::Management& wmi = *os.management;
    bool reached = false;  // whether the management service answered at all

    // Operating system.
    Skippable([&] {
        auto systems = wmi.instancesOf("Win32_OperatingSystem", {"Caption"});
        if (!systems) throw StepFailed{};
        reached = true;
        for (const auto& s : *systems) text2.setText(text2.text() + TextOf(s, "Caption"));
    });

    // Network adapters, reported later through the event loop.
    Skippable([&] {
        if (!wmi.instancesOfAsync("Win32_NetworkAdapter", [] { ui::app().form<frmSysInfo>().sink_OnObjectReady(); })) {
            throw StepFailed{};
        }
    });

    // Processors: four parts each, each skipped on its own when a property is missing.
    Skippable([&] {
        auto cpus = wmi.instancesOf("Win32_Processor",
                                    {"Name", "socketdesignation", "numberofcores", "numberoflogicalprocessors"});
        if (!cpus) throw StepFailed{};
        reached = true;
        for (const auto& cpu : *cpus) {
            Skippable([&] { text3.setText(text3.text() + TextOf(cpu, "Name") + " (" + TextOf(cpu, "socketdesignation") + ")"); });
            Skippable([&] { text3.setText(text3.text() + ", C: " + TextOf(cpu, "numberofcores")); });
            Skippable([&] { text3.setText(text3.text() + ", T: " + TextOf(cpu, "numberoflogicalprocessors")); });
            Skippable([&] { text3.setText(text3.text() + ", S: " + TextOf(cpu, "socketdesignation")); });
        }
    });

    // Memory modules: a 16-bit running total of megabytes, the sizes in gigabytes, the last speed.
    int16_t totalMb = 0;
    int16_t speed = 0;
    Skippable([&] {
        auto modules = wmi.instancesOf("Win32_PhysicalMemory", {"capacity", "speed"});
        if (!modules) throw StepFailed{};
        reached = true;
        for (const auto& m : *modules) {
            Skippable([&] {
                Text8.setText(TextOf(m, "capacity"));
                const double mb = NumberOf(Text8.text()) / 1024 / 1024;
                const double sum = std::nearbyint(totalMb + mb);
                if (sum <= INT16_MAX && sum >= INT16_MIN) totalMb = static_cast<int16_t>(sum);
                text4.setText(text4.text() + FormatWhole(mb / 1024) + "GB" + ", ");
            });
            Skippable([&] {
                const Property& s = Need(m, "speed");
                if (!s.has()) throw StepFailed{};
                const double v = NumberOf(s.text);
                if (v < INT16_MIN || v > INT16_MAX) throw StepFailed{};
                speed = static_cast<int16_t>(std::nearbyint(v));
            });
        }
    });
    Skippable([&] {
        const std::string list = text4.text();
        if (list.size() < 2) throw StepFailed{};  // no module list was built
        text4.setText(FormatWhole(totalMb / 1024.0) + "GB @ " + std::to_string(speed) + "Mhz " + "(" +
                      list.substr(0, list.size() - 2) + ")");
    });

    // Disks. A disk that cannot be read (a card reader without a medium has no size) is listed as
    // "Removable Drive", and the listing goes on with the next disk and the drives.
    const std::string separator = os.clock->decimalSeparator();
    Skippable([&] {
        auto disks = wmi.instancesOf("Win32_DiskDrive", {"Size", "Caption"});
        if (!disks) throw StepFailed{};
        for (const auto& d : *disks) {
            try {
                const Property& size = Need(d, "Size");
                if (!size.has()) throw StepFailed{};
                Text8.setText(size.text);
                const double gb = NumberOf(Text8.text()) / 1024 / 1024 / 1024;
                // A caption the service does not know leaves the disk without a name.
                auto caption = d.find("Caption");
                const std::string name = caption == d.end() ? std::string() : caption->second.text;
                text5.setText(text5.text() + name + " - " + FormatSignificant(gb, separator).substr(0, 5) + " GB" + kCrLf);
            } catch (const std::exception&) {
                text5.setText(text5.text() + "Removable Drive" + kCrLf);
            }
        }
    });
    for (const std::string& root : os.drives->roots()) {
        try {
            text5.setText(text5.text() + DriveLine(root));
        } catch (const std::exception&) {
            text5.setText(text5.text() + "Removable Drive" + kCrLf);
        }
    }

    if (!reached) {
        // Without the management service the store still reads that, not an empty field.
        for (ui::TextBox* t : {&text2, &text3, &text4}) {
            if (t->text().empty()) t->setText(kUnavailable);
        }
    }
}

void frmSysInfo::sink_OnObjectReady() {
    int16_t n = 0;
    try {
        n = static_cast<int16_t>(std::stoi(Text7.text()));
    } catch (const std::exception&) {
    }
    Skippable([&] {
        auto config = platform::services().management->object("Win32_NetworkAdapterConfiguration=" + std::to_string(n),
                                                               {"Description", "MACAddress"});
        if (!config) throw StepFailed{};
        // The adapter's lines have no place in the summary: they are composed and dropped.
        const Property& mac = Need(*config, "MACAddress");
        const std::string lines = TextOf(*config, "Description") + kCrLf +
                                  (mac.has() ? "Mac: " + mac.text : std::string("No MAC Address")) + kCrLf + kCrLf;
        (void)lines;
    });
    Text7.setText(std::to_string(n + 1));
}

std::string TrimAtNull(std::string& Text) {
    const size_t limit = std::min<size_t>(Text.size(), 255);
    for (size_t i = 0; i < limit; ++i) {
        if (Text[i] == '\0') {
            Text.resize(i);
            break;
        }
    }
    return Text;
}

std::string DriveLine(const std::string& RootPath) {
    platform::Drives& drives = *platform::services().drives;
    std::string type;
    switch (drives.driveType(RootPath)) {
        case platform::drive_type::kUnknown: type = "Drive type unknown"; break;
        case platform::drive_type::kNoRootDir: type = "Drive has no root directory"; break;
        case platform::drive_type::kRemovable: type = "Floppy/Removable"; break;
        case platform::drive_type::kFixed: type = "FHD"; break;
        case platform::drive_type::kRemote: {
            std::string buffer(255, ' ');
            drives.remoteName(RootPath, buffer, 254);
            type = "NET: " + TrimAtNull(buffer);
            break;
        }
        case platform::drive_type::kCdRom: type = "CD-ROM"; break;
        case platform::drive_type::kRamDisk: type = "RAM disk"; break;
        default: type = "Unknown device"; break;
    }
    const platform::DiskSpace space = drives.freeSpace(RootPath);
    const int64_t product = static_cast<int64_t>(space.sectorsPerCluster) * space.bytesPerSector;
    if (product > INT32_MAX || product < INT32_MIN) throw std::overflow_error("bytes per cluster");
    const auto bytesPerCluster = static_cast<int32_t>(product);
    const int32_t total = RoundHalfEven(space.totalClusters / 1024.0 * bytesPerCluster / 1024 / 1024);
    const int32_t free = RoundHalfEven(space.freeClusters / 1024.0 * bytesPerCluster / 1024 / 1024);
    if (space.result != 1 || total <= 0) return {};
    return RootPath + "\tSize = " + std::to_string(total) + " GB\tFree = " + std::to_string(free) + " GB\t" + type +
           kCrLf;
}

void CollectIntoDashboard() {
    frmSysInfo& info = ui::app().form<frmSysInfo>();
    info.Load();
    info.Text7.setText("0");
    info.Text8.setText("");
    info.GetAllData();
    app::frmSysTray& dash = app::Dashboard();
    dash.lblCPU.setCaption(info.text3.text());
    dash.lblMemory.setCaption(info.text4.text());
    dash.lblHDD.setText(info.text5.text());
    dash.lblOS.setCaption(info.text2.text());
}

}  // namespace inventory
